#include "reports/engine/reportcontext.h"

#include "reports/engine/reporterror.h"
#include "reports/engine/reportformat.h"

ReportSource *ReportContext::source(const QString &name) const
{
    for (const NamedSource &s : sources)
        if (s.source && s.name.compare(name, Qt::CaseInsensitive) == 0)
            return s.source;
    return nullptr;
}

QVariant ReportContext::value(const QString &name) const
{
    const int dot = int(name.indexOf(u'.'));
    if (dot >= 0) {
        const QString sourceName = name.left(dot);
        ReportSource *src = source(sourceName);
        if (!src) {
            for (const NamedSource &s : sources)
                if (s.name.compare(sourceName, Qt::CaseInsensitive) == 0)
                    return {}; // named, but without rows (a sub-detail with no link result)
            throw ReportError(QStringLiteral("Unknown data source in %1").arg(name));
        }
        const int f = src->fieldIndex(name.mid(dot + 1));
        if (f < 0)
            throw ReportError(QStringLiteral("Unknown field %1").arg(name));
        return src->eof() ? QVariant() : src->value(f);
    }
    for (const NamedSource &s : sources) {
        if (!s.source)
            continue;
        const int f = s.source->fieldIndex(name);
        if (f >= 0)
            return s.source->eof() ? QVariant() : s.source->value(f);
    }
    throw ReportError(QStringLiteral("Unknown field %1").arg(name));
}

QString ReportContext::text(const QString &name) const
{
    return ReportFormat::text(value(name)).trimmed();
}
