#ifndef TARVEL_TESTS_REQUIRE_H
#define TARVEL_TESTS_REQUIRE_H

// For a test's set-up outside a test function, where QVERIFY cannot return:
// a step that fails ends the run, as every check after it would be void.

#include <QtGlobal>

inline void require(bool ok, const char* step)
{
    if (!ok)
        qFatal("Test set-up failed: %s", step);
}

#endif
