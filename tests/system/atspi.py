"""What a screen reader sees of the running agent, through the desktop's accessibility bus.

    atspi.py PID dump                 every showing object: "role|name|actions", in the bus's order
    atspi.py PID text NAME            what the showing text field named NAME holds
    atspi.py PID press NAME           runs the press action of the showing push button named NAME
    atspi.py PID type NAME TEXT       puts TEXT into the showing text field named NAME

The agent is found by its process id. Exits 1, saying why, when an object is not there."""
import sys

import pyatspi


def application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.get_process_id() == pid:
            return app
    sys.exit("no application with process id %d on the accessibility bus" % pid)


def showing(obj):
    return obj.getState().contains(pyatspi.STATE_SHOWING)


def walk(obj):
    """The showing objects under obj, depth first, in the order the bus gives them."""
    for child in obj:
        if child is None or not showing(child):
            continue
        yield child
        yield from walk(child)


def actions(obj):
    try:
        action = obj.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(i) for i in range(action.nActions)]


def find(app, role, name):
    for obj in walk(app):
        if obj.getRoleName() == role and obj.name == name:
            return obj
    sys.exit("no showing %s named %r" % (role, name))


def main():
    pid, command, args = int(sys.argv[1]), sys.argv[2], sys.argv[3:]
    app = application(pid)
    if command == "dump":
        for obj in walk(app):
            print("%s|%s|%s" % (obj.getRoleName(), obj.name, ",".join(actions(obj))))
    elif command == "text":
        field = find(app, args[1] if len(args) > 1 else "text", args[0])
        print(field.queryText().getText(0, -1))
    elif command == "press":
        button = find(app, "push button", args[0])
        action = button.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        if "Press" not in names:
            sys.exit("%r has no press action: %s" % (args[0], names))
        action.doAction(names.index("Press"))
    elif command == "type":
        field = find(app, "text", args[0])
        editable = field.queryEditableText()
        editable.setTextContents(args[1])
    else:
        sys.exit("unknown command " + command)


main()
