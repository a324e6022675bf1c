#pragma once
// What every test may use: tables written one row a line, and whole files.
#include <QtTest>

inline QByteArray ReadFile(const QString& path);

// The rows of a table file, one a line: the row's name, then its cells, separated by '|' and
// trimmed; every column holds a QString. A line that starts with '#' says what the columns are.
inline void AddRows(std::initializer_list<const char*> columns, const QString& file)
{
    for (const char* column : columns) // Qt Test keeps the name, not a copy
        QTest::addColumn<QString>(column);
    const QString table = QString::fromUtf8(ReadFile(file));
    QVERIFY2(!table.isEmpty(), qPrintable(file));
    for (const QString& line : table.split(u'\n', Qt::SkipEmptyParts)) {
        if (line.startsWith(u'#'))
            continue;
        const QStringList cells = line.split(u'|');
        QTestData& row = QTest::newRow(qPrintable(cells[0].trimmed()));
        for (qsizetype i = 1; i <= qsizetype(columns.size()); ++i)
            row << cells.value(i).trimmed();
    }
}

inline QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A cell of the current row, by its column's name.
inline QString Cell(const char* column)
{
    return *static_cast<QString*>(QTest::qData(column, QMetaType::QString));
}

// The current row's cells of the named columns, to bind at once: auto [a, b] = Cells("a", "b").
template <typename... Names> std::array<QString, sizeof...(Names)> Cells(Names... columns)
{
    return {Cell(columns)...};
}

// One change a test row makes: a name, the separator after it (none for a bare name) and a text.
struct Change
{
    QString name;
    QChar separator;
    QString text;
};

// The changes "name=text ...", split at each one's first separator; '_' in a text is a blank.
inline QList<Change> Changes(const QString& changes, const QString& separator = QStringLiteral("="))
{
    QList<Change> list;
    for (const QString& change : changes.split(u' ', Qt::SkipEmptyParts)) {
        const qsizetype at = change.indexOf(QRegularExpression(separator));
        list << Change{change.left(at), at < 0 ? QChar() : change.at(at),
                       at < 0 ? QString() : change.mid(at + 1).replace(u'_', u' ')};
    }
    return list;
}
