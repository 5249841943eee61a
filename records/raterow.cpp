#include "records/raterow.h"
#include "data/helpers.h"
#include "data/readscope.h"
#include "data/tdm.h"

RateRow RateRow::read(const QString &tariffId)
{
    RecordSet *rate = DM->cds1;
    {
        ReadScope read(DM->IBQ1, QStringLiteral("select * from k_tariff_ap_value  where ktapv_id=") + tariffId);
        CopyToMemTable(read.query(), rate, 2);
    }
    RateRow r;
    r.m_found = !rate->isEmpty();
    if (!r.m_found)
        return r;
    const auto field = [rate](const char *name) { return rate->field(QString::fromLatin1(name)); };
    r.m_apUnit = field("ktapv_ap_unit").asString().trimmed();
    r.m_apValue = field("ktapv_ap_value").asFloat();
    r.m_eaUnit = field("ktapv_ea_unit").asString().trimmed();
    r.m_eaValue = field("ktapv_ea_value").asFloat();
    const Field ceiling = field("ktapv_ap_max");
    r.m_ceiling = ceiling.asFloat();
    r.m_ceilingSet = !ceiling.isNull() && r.m_ceiling > 1;
    return r;
}
