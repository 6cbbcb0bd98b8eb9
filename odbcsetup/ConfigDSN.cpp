// ConfigDSN for the driver manager: adds and removes the data sources of "MySQL ODBC 5.1 Driver".
// unixODBC calls it from SQLConfigDataSource with the configuration mode already set (system or
// user), so every write below lands in the odbc.ini that the caller asked for.

#include <cstring>
#include <odbcinst.h>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using Attribute = std::pair<std::string, std::string>;

bool fail(DWORD code, const char* message)
{
    SQLPostInstallerError(code, message);
    return false;
}

// An ini line holds one value: a line break in a key or value would let the text write further
// keys (a Driver= naming any library, say) into the data source.
bool fitsOnOneLine(std::string_view text)
{
    return text.find_first_of("\r\n") == std::string_view::npos;
}

// "key=value" entries, each ended by a NUL, the list ended by one more NUL.
bool parse(const char* list, std::vector<Attribute>& attributes)
{
    if (!list)
        return true;
    for (const char* entry = list; *entry; entry += std::strlen(entry) + 1) {
        const std::string_view text(entry);
        const auto equals = text.find('=');
        if (equals == std::string_view::npos || equals == 0)
            return fail(ODBC_ERROR_INVALID_KEYWORD_VALUE, "an attribute is not of the form key=value");
        std::string key(text.substr(0, equals));
        std::string value(text.substr(equals + 1));
        if (!fitsOnOneLine(key) || !fitsOnOneLine(value) || key.find_first_of("[]") != std::string::npos)
            return fail(ODBC_ERROR_INVALID_KEYWORD_VALUE, "an attribute cannot be written to odbc.ini");
        attributes.emplace_back(std::move(key), std::move(value));
    }
    return true;
}

bool isDsnKey(const std::string& key)
{
    return key.size() == 3 && (key[0] == 'D' || key[0] == 'd') && (key[1] == 'S' || key[1] == 's') &&
           (key[2] == 'N' || key[2] == 'n');
}

const std::string* dsnOf(const std::vector<Attribute>& attributes)
{
    for (const Attribute& attribute : attributes) {
        if (isDsnKey(attribute.first))
            return &attribute.second;
    }
    return nullptr;
}

// unixODBC remembers what it read from odbc.ini for a few seconds and SQLRemoveDSNFromIni does not
// make it forget; deleting the section through the profile writer does, so that a lookup right after
// a removal sees the data source gone.
bool remove(const std::string& dsn)
{
    const bool removed = SQLRemoveDSNFromIni(dsn.c_str());
    SQLWritePrivateProfileString(dsn.c_str(), nullptr, nullptr, "odbc.ini");
    return removed ? true : fail(ODBC_ERROR_REMOVE_DSN_FAILED, "the data source could not be removed");
}

bool add(const std::string& dsn, const char* driver, const std::vector<Attribute>& attributes)
{
    // Writing the section replaces an earlier data source of the same name as a whole.
    if (!SQLWriteDSNToIni(dsn.c_str(), driver))
        return fail(ODBC_ERROR_CREATE_DSN_FAILED, "the data source could not be written to odbc.ini");
    for (const Attribute& attribute : attributes) {
        if (isDsnKey(attribute.first))
            continue;
        if (!SQLWritePrivateProfileString(dsn.c_str(), attribute.first.c_str(), attribute.second.c_str(),
                                          "odbc.ini")) {
            // Half a data source would connect somewhere unintended: take it away again.
            SQLRemoveDSNFromIni(dsn.c_str());
            SQLWritePrivateProfileString(dsn.c_str(), nullptr, nullptr, "odbc.ini");
            return fail(ODBC_ERROR_CREATE_DSN_FAILED, "an attribute could not be written to odbc.ini");
        }
    }
    return true;
}

} // namespace

extern "C" __attribute__((visibility("default"))) BOOL ConfigDSN(HWND, WORD request, LPCSTR driver,
                                                                 LPCSTR attributeList)
{
    std::vector<Attribute> attributes;
    if (!parse(attributeList, attributes))
        return false;
    const std::string* dsn = dsnOf(attributes);
    if (!dsn || dsn->empty() || !SQLValidDSN(dsn->c_str()))
        return fail(ODBC_ERROR_INVALID_NAME, "the attribute list names no valid data source");

    switch (request) {
    case ODBC_ADD_DSN:
        if (!driver || !*driver)
            return fail(ODBC_ERROR_INVALID_NAME, "no driver was named");
        return add(*dsn, driver, attributes);
    case ODBC_REMOVE_DSN:
        return remove(*dsn);
    default:
        return fail(ODBC_ERROR_INVALID_REQUEST_TYPE, "only adding and removing data sources is supported");
    }
}
