#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A temporary folder that stands in for the executable's folder while it exists, so that Log.txt
// and the pictures are the test's own.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();

    QString path() const; // with a trailing '/'
    // Copies one of the installation pictures into Imagens/, as an installation has it.
    void installPicture(const QString& name) const;
    QByteArray logBytes() const;
    // The entries of Log.txt, each without its time stamp ("<stamp> - ").
    QStringList logMessages() const;

private:
    QTemporaryDir m_dir;
};
