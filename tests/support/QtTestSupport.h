// QtTestSupport: finding the real widgets by objectName in GUI tests.
#pragma once

#include <QObject>
#include <QString>
#include <gtest/gtest.h>

namespace zentrix::test {

/// The child of `parent` called `name`, of type T; fails the current test when it is missing.
template <typename T> T* Child(const QObject* parent, const QString& name)
{
    T* found = parent->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << "no " << T::staticMetaObject.className() << " named " << name.toStdString();
    return found;
}

} // namespace zentrix::test
