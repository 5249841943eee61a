#include "data/helpers.h"
#include "data/dberror.h"
#include "data/docseries.h"
#include "data/formats.h"
#include "data/ibquery.h"
#include "data/ibtransaction.h"
#include "data/readscope.h"
#include "data/recordset.h"
#include "data/sqltext.h"
#include "data/tdm.h"
#include "platform/platform.h"

#include <QProcess>

namespace {

void copyDefinitions(const std::vector<std::pair<QString, std::pair<FieldType, int>>> &cols, RecordSet *target,
                     int mode)
{
    for (size_t i = 0; i < cols.size(); ++i) {
        const auto &[name, ts] = cols[i];
        const QString n = mode == 1 ? QStringLiteral("COLUMN%1").arg(i + 1) : name;
        target->addField(n, ts.first, isStringType(ts.first) ? ts.second : 0);
    }
    target->createDataSet();
}

template <typename NextRow>
void fill(RecordSet *target, int columns, NextRow nextRow)
{
    std::vector<QVariant> values(static_cast<size_t>(columns), QVariant());
    if (!target->hasPostHandlers()) {
        target->disableControls();
        try {
            while (nextRow(values))
                target->appendValues(values);
        } catch (...) {
            target->endAppendValues();
            target->enableControls();
            throw;
        }
        target->endAppendValues();
        target->enableControls();
        return;
    }
    while (nextRow(values)) {
        target->append();
        for (int i = 0; i < columns; ++i)
            target->fieldByIndex(i).setValue(values[size_t(i)]);
        target->post();
    }
}

void prepareTarget(RecordSet *target, int mode)
{
    target->close();
    if (mode != 3)
        target->clearFields();
}

} // namespace

namespace {

using ColumnList = std::vector<std::pair<QString, std::pair<FieldType, int>>>;

// The steps both kinds of source share: the target's fields, emptying it, the rows by
// position (read by nextRow), and the move to the first row.
template <typename NextRow>
void copyInto(RecordSet *target, int mode, const ColumnList &columns, bool sourceActive, NextRow nextRow)
{
    prepareTarget(target, mode);
    const int n = int(columns.size());
    if (mode == 1 || mode == 2)
        copyDefinitions(columns, target, mode);
    if (!target->active())
        target->createDataSet();
    target->emptyDataSet();
    if (sourceActive) {
        if (mode == 3 && n > target->fieldCount())
            throw DbError(QStringLiteral("%1: List index out of bounds (%2)").arg(target->name()).arg(target->fieldCount()));
        fill(target, n, nextRow);
    }
    target->first();
}

} // namespace

int CopyToMemTable(IbQuery *source, RecordSet *target, int mode)
{
    ColumnList columns;
    for (const IbColumn &c : source->columns())
        columns.push_back({c.name, {c.type, c.size}});
    const int n = int(columns.size());
    copyInto(target, mode, columns, source->active(), [source, n](std::vector<QVariant> &values) {
        if (source->eof())
            return false;
        for (int i = 0; i < n; ++i)
            values[size_t(i)] = source->value(i);
        source->next();
        return true;
    });
    source->transaction()->commitIfActive();
    source->close();
    return 0;
}

int CopyToMemTable(RecordSet *source, RecordSet *target, int mode)
{
    ColumnList columns;
    const int n = source->dataFieldCount();
    for (int i = 0; i < n; ++i)
        columns.push_back({source->fieldDef(i).name, {source->fieldDef(i).type, source->fieldDef(i).size}});
    if (source->active())
        source->first();
    copyInto(target, mode, columns, source->active(), [source, n](std::vector<QVariant> &values) {
        if (source->eof())
            return false;
        for (int i = 0; i < n; ++i)
            values[size_t(i)] = source->fieldByIndex(i).value();
        source->next();
        return true;
    });
    return 0;
}

QString ClassifierStatement(const QString &setName, const QString &workingYear, const QString &extra)
{
    // A working year that is not set yet restricts nothing.
    const QString year = workingYear.trimmed().isEmpty() ? QStringLiteral("0") : workingYear.trimmed();
    if (setName.compare(QLatin1String("k_tariff_ap"), Qt::CaseInsensitive) == 0 && year != QLatin1String("0"))
        return QStringLiteral("Select * from k_tariff_ap where ktap_id in ( select ktapv_ktap  from k_tariff_ap_value "
                              "where ktapv_date_start<='01.01.%1'  and ktapv_date_stop >='31.12.%1')")
            .arg(year);
    if (setName.compare(QLatin1String("k_adm_area2"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Select * from k_adm_area2 where kaa2_id<=95 order by kaa2_id ");
    if (setName.compare(QLatin1String("k_form_type"), Qt::CaseInsensitive) == 0)
        return QStringLiteral(" select * from k_form_type where kft_id<>2 ");
    QString sql = QStringLiteral("Select * from ") + setName;
    if (!extra.isEmpty())
        sql += u' ' + extra;
    return sql;
}

void LoadQueryRows(IbQuery *q, RecordSet *set, bool upperCaseText)
{
    set->clearFields();
    for (const IbColumn &c : q->columns())
        set->addField(c.name, c.type == FieldType::LargeInt ? FieldType::Float : c.type, isStringType(c.type) ? c.size : 0);
    set->createDataSet();
    const int n = q->columnCount();
    set->disableControls();
    try {
        while (!q->eof()) {
            std::vector<QVariant> values(static_cast<size_t>(n), QVariant());
            for (int i = 0; i < n; ++i) {
                QVariant v = q->value(i);
                const FieldType t = q->columns()[size_t(i)].type;
                if (t == FieldType::LargeInt && !v.isNull())
                    v = double(v.toLongLong());
                else if (upperCaseText && isStringType(t) && !v.isNull())
                    v = v.toString().toUpper();
                values[size_t(i)] = v;
            }
            set->appendValues(values);
            q->next();
        }
    } catch (...) {
        set->endAppendValues();
        set->enableControls();
        throw;
    }
    set->endAppendValues();
    set->enableControls();
    set->first();
}

int LoadClassifier(RecordSet *set, const QString &extra)
{
    set->clearFields();
    ReadScope read(DM->IBQ1, ClassifierStatement(set->name(), DM->workingYear, extra));
    LoadQueryRows(read.query(), set, set->name().compare(QLatin1String("k_prof"), Qt::CaseInsensitive) == 0);
    return 0;
}

QString SqlLiteral(RecordSet *set, int i)
{
    Field f = set->fieldByIndex(i);
    const QString text = f.asString();
    if (text.trimmed().isEmpty())
        return QStringLiteral("NULL");
    const FieldType t = f.type();
    if (isStringType(t))
        return SqlText::literal(f.def().cyrillicSeries ? DocSeries::toStored(text) : text);
    if (isFloatType(t))
        return QString(text).replace(u',', u'.');
    if (t == FieldType::Date || t == FieldType::DateTime)
        return SqlText::quoted(text);
    return text;
}

QString BuildInsertOrUpdate(RecordSet *set, int k, int mode)
{
    QStringList names, literals, pairs;
    for (int i = 0; i < set->fieldCount(); ++i) {
        if (set->fieldDef(i).kind != FieldKind::Data)
            continue;
        const QString name = set->fieldDef(i).name;
        const QString lit = SqlLiteral(set, i);
        names << name;
        literals << lit;
        if (i != k)
            pairs << name + u'=' + lit;
    }
    if (mode == 1)
        return QStringLiteral("Insert into ") + set->name() + QStringLiteral(" (") + names.join(u',')
            + QStringLiteral(") values(") + literals.join(u',') + u')';
    return QStringLiteral("update ") + set->name() + QStringLiteral(" set ") + pairs.join(u',')
        + QStringLiteral(" where ") + set->fieldDef(k).name + u'=' + SqlLiteral(set, k);
}

int RunAndWait(const QString &program, const QStringList &arguments, const QString &workingFolder)
{
    return Platform::runAndWait(program, arguments, workingFolder);
}

int RunAndWait(const QString &commandLine)
{
    QStringList parts = QProcess::splitCommand(commandLine);
    if (parts.isEmpty())
        return 1;
    const QString program = parts.takeFirst();
    return Platform::runAndWait(program, parts);
}

double Round2(double x)
{
    return Formats::round2(x);
}

QString ReplaceAll(const QString &text, const QString &oldPart, const QString &newPart)
{
    if (oldPart.isEmpty())
        return text;
    return QString(text).replace(oldPart, newPart, Qt::CaseSensitive);
}

void PostPendingEdits()
{
    for (RecordSet *s : {DM->assured_person, DM->name_account, DM->saldo_data})
        if (s->isEditing())
            s->post();
}
