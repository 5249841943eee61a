#pragma once
// The in-memory record set: ordered rows of typed fields that windows show and edit and that
// rules check before a row is posted. It stands where the desktop's client dataset would.

#include "data/field.h"
#include "data/fielddef.h"

namespace DataPacket {
enum class Format;
}

#include <QObject>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <vector>

class RecordSet : public QObject
{
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    using Handler = std::function<void(RecordSet &)>;

    explicit RecordSet(const QString &name, QObject *parent = nullptr);

    QString name() const { return objectName(); }

    // ---- structure
    // Closes the set and forgets its field definitions.
    void clearFields();
    FieldDef &addField(const QString &name, FieldType type, int size = 0, bool required = false);
    FieldDef &addField(const FieldDef &def);
    FieldDef &addLookupField(const QString &name, FieldType type, int size, const QString &keyField,
                             RecordSet *lookupSet, const QString &lookupKeyField, const QString &resultField);
    FieldDef &addCalculatedField(const QString &name, FieldType type, int size = 0);
    int fieldCount() const { return int(m_defs.size()); }
    // Stored fields only (no lookup or calculated fields): the definitions statements use.
    int dataFieldCount() const;
    const FieldDef &fieldDef(int i) const { return m_defs.at(size_t(i)); }
    FieldDef &fieldDef(int i) { return m_defs.at(size_t(i)); }
    int fieldIndex(const QString &name) const; // -1 when absent, case-insensitive
    Field field(const QString &name);           // raises DbError when absent
    Field fieldByIndex(int i);
    Field operator[](const QString &name) { return field(name); }

    // ---- classifier files: fields and rows from a data packet file (binary or XML, told by its
    // content), or the stored fields and visible rows written as one (see data/datapacket.h)
    void loadFromFile(const QString &path);
    void saveToFile(const QString &path, DataPacket::Format format);

    // ---- opening
    void createDataSet(); // active, with the defined fields and no rows
    void open() { createDataSet(); }
    void close();
    bool active() const { return m_state != State::Inactive; }

    // ---- order and links
    // Rows are kept ordered by these fields (names separated by ";").
    void setIndexFieldNames(const QString &names);
    QString indexFieldNames() const { return m_indexFields.join(u';'); }
    // Only rows whose detailField equals masterField of the master's current row are visible.
    void setMaster(RecordSet *master, const QString &masterField, const QString &detailField);
    RecordSet *master() const { return m_master; }

    // ---- navigation
    int recordCount() const { return int(m_view.size()); }
    bool isEmpty() const { return m_view.empty(); }
    int recNo() const { return m_cur; } // 0-based position of the current row, -1 when none
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    void first();
    void last();
    void next();
    void prior();
    void moveTo(int row);
    bool locate(const QString &fieldName, const QVariant &value);

    // ---- editing
    State state() const { return m_state; }
    bool isEditing() const { return m_state == State::Edit || m_state == State::Insert; }
    bool modified() const { return m_modified; }
    void append();
    void insert();
    void edit();
    void post();
    void cancel();
    void deleteRecord();
    // The current row takes these values (by position, stored fields) as a new reading of it:
    // a pending edit of it is dropped first.
    void replaceCurrentRow(const std::vector<QVariant> &values);
    void emptyDataSet();
    // Posts pending changes, or cancels an untouched new row.
    void checkBrowseMode();
    // Quick fill for copies into a set without handlers: the values go by position into a new
    // stored row (required fields and types checked as by post); the view is brought up to
    // date by endAppendValues().
    void appendValues(const std::vector<QVariant> &values);
    void endAppendValues();
    bool hasPostHandlers() const { return bool(beforePost) || bool(afterInsert) || bool(afterPost); }

    // ---- events (detached by assigning an empty handler, attached again by restoring it)
    Handler beforePost;
    Handler afterPost;
    Handler afterInsert;
    Handler afterScroll;
    Handler onCalcFields;

    // ---- controls
    void disableControls() { ++m_disabled; }
    void enableControls();
    bool controlsDisabled() const { return m_disabled > 0; }

    // ---- access for views: the visible row r (a row being inserted is not counted)
    QVariant valueAt(int row, int field) const;
    QString displayTextAt(int row, int field) const;
    int insertPosition() const { return m_insertPos; } // where a row being inserted stands

    // Used by Field.
    QVariant currentValue(int field) const;
    void setCurrentValue(int field, const QVariant &v);

signals:
    void structureChanged();
    void dataReset();
    void currentChanged();
    void stateChanged();
    void currentValuesChanged();

private:
    friend class Field;
    using Row = std::vector<QVariant>;

    void requireActive() const;
    void requireBrowse(const char *what);
    void rebuildView(bool keepCurrent = true);
    void sortView();
    bool rowVisible(const Row &r) const;
    QVariant lookupValue(const FieldDef &def, const Row &r) const;
    QVariant storedOrLookup(const Row &r, int field) const;
    void calculate(Row &r);
    QVariant convert(const FieldDef &def, const QVariant &v) const;
    void beginInsert(bool appendAtEnd);
    void scrolled();
    void notifyReset();
    void notifyCurrent();

    std::vector<FieldDef> m_defs;
    std::vector<Row> m_rows;       // storage
    std::vector<int> m_view;       // visible rows in order, as indexes into m_rows
    int m_cur = -1;
    bool m_eof = true;
    bool m_bof = true;
    State m_state = State::Inactive;
    Row m_buffer;                  // the row being edited or inserted
    bool m_modified = false;
    int m_insertPos = -1;
    int m_disabled = 0;
    bool m_pendingReset = false;
    QStringList m_indexFields;
    RecordSet *m_master = nullptr;
    QString m_masterField, m_detailField;
    const Row *m_calcRow = nullptr; // row whose fields the calculation handler reads
    Row *m_calcTarget = nullptr;
};
