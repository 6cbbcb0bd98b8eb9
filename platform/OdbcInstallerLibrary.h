#pragma once

#include <QLibrary>

// The driver manager's installer library, loaded only when the agent writes its data source, so that a
// workstation without it still starts and is told what is missing.
class OdbcInstallerLibrary {
public:
    // SQLConfigDataSource requests.
    static constexpr unsigned short AddSystemDataSource = 4;
    static constexpr unsigned short RemoveSystemDataSource = 6;

    // Loads the library and finds SQLConfigDataSource; throws AppError with the loader's text if either
    // is missing.
    OdbcInstallerLibrary();

    // attributes: "key=value" entries, each ended by a NUL, with one more NUL after the last.
    // True when the driver's setup reports success. No parent window is passed.
    bool configDataSource(unsigned short request, const QByteArray& driver, const QByteArray& attributes);

    // Tests load another file in its place; an empty text restores the real one.
    static void setFileNameForTesting(const QString& fileName);

private:
    using ConfigDataSource = int (*)(void*, unsigned short, const char*, const char*);

    QLibrary m_library;
    ConfigDataSource m_configDataSource = nullptr;
};
