#pragma once
// A test table written one row a line: the row's name, then its cells, separated by '|' and
// trimmed. Every column holds a QString.
#include <QtTest>

inline void AddRows(std::initializer_list<const char*> columns, const char* table)
{
    for (const char* column : columns) // Qt Test keeps the name, not a copy
        QTest::addColumn<QString>(column);
    for (const QString& line : QString::fromUtf8(table).split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList cells = line.split(u'|');
        QTestData& row = QTest::newRow(qPrintable(cells[0].trimmed()));
        for (qsizetype i = 1; i <= qsizetype(columns.size()); ++i)
            row << cells.value(i).trimmed();
    }
}
