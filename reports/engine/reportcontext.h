#pragma once
// What an expression or a text function sees while a band is printed: the sources standing on
// their current rows, the page, today's date and the band's running counts and sums.

#include "reports/engine/reportsource.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <vector>

class ReportContext
{
public:
    struct NamedSource {
        QString name;
        ReportSource *source = nullptr;
    };

    // Innermost first: a sub-detail's source before its master.
    std::vector<NamedSource> sources;
    int pageNumber = 0;
    // Running number of the row being printed among the rows of its band (1-based).
    int recordNumber = 0;
    QDate today;
    // Values of the band's COUNT and SUM terms, keyed by the term; set by the engine.
    const QHash<const void *, double> *aggregates = nullptr;

    // The source named `name` (case-insensitive), or nullptr.
    ReportSource *source(const QString &name) const;
    // A field by "source.field" or by bare name (searched innermost first). Throws ReportError
    // for a name no source holds, so that a misspelt field never prints as a blank.
    QVariant value(const QString &name) const;
    // As value(), trimmed text.
    QString text(const QString &name) const;
};
