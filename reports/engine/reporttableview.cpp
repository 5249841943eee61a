#include "reports/engine/reporttableview.h"

#include "reports/engine/reporterror.h"
#include "reports/engine/reportformat.h"

#include <QHash>
#include <memory>

void ReportTableView::setRows(std::vector<int> rows)
{
    m_rows = std::move(rows);
    m_current = -1;
}

void ReportTableView::goTo(int row)
{
    m_current = (row >= 0 && row < rowCount()) ? row : rowCount();
}

QVariant ReportTableView::value(int field) const
{
    if (m_current < 0 || m_current >= rowCount())
        return {};
    return m_table->at(m_rows[size_t(m_current)], field);
}

ReportDetailLink ReportTableView::link(const ReportTable &detail, const QString &detailField,
                                       const QString &masterField)
{
    const int keyColumn = detail.fieldIndex(detailField);
    if (keyColumn < 0)
        throw ReportError(QStringLiteral("Unknown detail field %1").arg(detailField));

    struct State {
        explicit State(const ReportTable &t) : view(t) {}
        ReportTableView view;
        QHash<QString, std::vector<int>> rowsByKey;
    };
    auto state = std::make_shared<State>(detail);
    for (int r = 0; r < detail.rowCount(); ++r)
        state->rowsByKey[ReportFormat::text(detail.at(r, keyColumn))].push_back(r);

    return [state, masterField](ReportSource &master) -> ReportSource * {
        const int f = master.fieldIndex(masterField);
        if (f < 0)
            throw ReportError(QStringLiteral("Unknown master field %1").arg(masterField));
        const QVariant key = master.value(f);
        state->view.setRows(key.isNull() ? std::vector<int>()
                                         : state->rowsByKey.value(ReportFormat::text(key)));
        return &state->view;
    };
}
