#pragma once

#include <QTest>

// A test that cannot run on this machine is skipped. In CI (CI=true) nothing may skip silently: there
// the test fails and says what is missing. REASON is a string literal.
#define CORVELLANE_SKIP(reason)                                                                              \
    do {                                                                                                     \
        if (qEnvironmentVariable("CI") == QLatin1String("true"))                                             \
            QFAIL("this test cannot run here, and CI may not skip it: " reason);                             \
        QSKIP(reason);                                                                                       \
    } while (false)
