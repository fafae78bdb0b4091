#pragma once
#include <gtest/gtest.h>

#include <QTest>
#include <QVariant>
#include <QWebEnginePage>

namespace larkspur::testing {

// Runs a script in the page and waits for its result.
inline QVariant RunScript(QWebEnginePage* page, const QString& script, int timeoutMs = 10000) {
    QVariant result;
    bool done = false;
    page->runJavaScript(script, [&](const QVariant& v) {
        result = v;
        done = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, timeoutMs)) << script.toStdString();
    return result;
}

}  // namespace larkspur::testing
