#pragma once

#include "designer/DesignRect.h"

#include <QMetaType>
#include <QtTest>

Q_DECLARE_METATYPE(DesignRect)

// Lets QCOMPARE print a rectangle that differs.
inline char* toString(const DesignRect& r)
{
    return QTest::toString(QStringLiteral("(%1, %2, %3, %4)").arg(r.left).arg(r.top).arg(r.right).arg(r.bottom));
}
