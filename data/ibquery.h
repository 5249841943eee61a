#pragma once
// A statement on one transaction: the program's queries IBQ1 to IBQ5. The statement text is
// kept as lines (clear, add) and run as one; a select is opened and read row by row.

#include "data/fieldtype.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariant>
#include <cstdint>
#include <exception>
#include <memory>
#include <vector>

class IbTransaction;
class ReadScope;

struct IbColumn {
    QString name;   // alias as the server returns it (upper case unless quoted)
    FieldType type = FieldType::Unknown;
    int size = 0;   // characters of text columns
    short sqlType = 0;
    short scale = 0;
};

class IbQuery : public QObject
{
    Q_OBJECT
public:
    explicit IbQuery(IbTransaction *transaction, QObject *parent = nullptr);
    ~IbQuery() override;

    IbTransaction *transaction() const { return m_transaction; }

    // The statement text: SQL().Clear() / SQL().Add() in the program's own words.
    void clearSql() { m_sql.clear(); }
    void addSql(const QString &line) { m_sql << line; }
    void setSql(const QString &text) { m_sql = QStringList{text}; }
    QString sqlText() const { return m_sql.join(u'\n'); }

    void open();       // runs a select and moves to its first row
    void execQuery();  // runs any other statement
    void close();
    bool active() const { return m_active; }

    bool eof() const { return m_eof; }
    void next();
    int columnCount() const { return int(m_columns.size()); }
    const std::vector<IbColumn> &columns() const { return m_columns; }
    int columnIndex(const QString &name) const; // -1 when absent; case-insensitive
    QVariant value(int i) const { return m_row.at(size_t(i)); }
    QVariant value(const QString &name) const;

    // Called by the transaction just before it ends: the server closes the cursor.
    void transactionEnding();
    // Selects already prepared are kept (a few dozen texts per query) and run again without a
    // new prepare when the same text comes back. These drop them: all of them before the
    // connection closes, the ones not in use before a change of the schema.
    void releasePrepared();
    void releaseUnusedPrepared();
    // The connection broke: the statements are given up without a word to the server.
    void forgetStatements();
    int preparedCount() const;

    // Whether a ReadScope is reading on the query now.
    bool inReadScope() const { return m_readScope != nullptr; }

private:
    friend class ReadScope;
    struct Impl;
    void prepare();
    void fetch();
    void freeStatement();
    void discardCurrent();
    // The failure of the statement in `status`: on a server database as the connection tells
    // it, on a database file in the engine's words.
    std::exception_ptr failure(const intptr_t *status) const;

    QPointer<IbTransaction> m_transaction;
    QStringList m_sql;
    bool m_active = false;
    bool m_eof = true;
    std::vector<IbColumn> m_columns;
    std::vector<QVariant> m_row;
    std::unique_ptr<Impl> d;
    ReadScope *m_readScope = nullptr;
};
