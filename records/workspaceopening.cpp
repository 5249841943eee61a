#include "records/workspaceopening.h"
#include "data/ee.h"
#include "data/formats.h"
#include "data/helpers.h"
#include "data/readscope.h"
#include "data/tdm.h"
#include "platform/platform.h"
#include "records/detachedhandler.h"

namespace WorkspaceOpening {

namespace {

void loadOnlyAgent()
{
    if (DM->econ_agent->active() && !DM->econ_agent->isEmpty())
        return;
    qint64 count = 0;
    {
        ReadScope read(DM->IBQ1, QStringLiteral("select count(*) from econ_agent  "));
        count = read.found() ? read.value(0).toLongLong() : 0;
    }
    if (count != 1)
        throw EE(QStringLiteral("Alegeti agentul economic !"));
    ReadScope read(DM->IBQ1, QStringLiteral("select * from econ_agent order by ea_id "));
    DetachedHandler keep(DM->econ_agent->beforePost);
    CopyToMemTable(read.query(), DM->econ_agent, 3);
}

void checkFormats(const QDate &today)
{
    if (!Formats::formatFloatWithSettings(12.34).contains(u'.'))
        throw EE(QStringLiteral("Separator zecimal trebuie sa fie \".\"\r Instalati corect formatul numeric !\r"
                                " Control Panel->Regional and Language Options"));
    const QString d = Formats::formatDateWithSettings(today);
    auto number = [&d](int from, int len) {
        bool ok = false;
        d.mid(from, len).toInt(&ok);
        return ok && !d.mid(from, len).contains(u' ');
    };
    if (d.size() != 10 || !number(0, 2) || !number(3, 2) || !number(6, 4))
        throw EE(QStringLiteral("Formatul datei este incorect.\"\r Instalati corect formatul datei !\r"
                                " Control Panel->Regional and Language Options"));
}

} // namespace

void prepare(const QDate &today)
{
    loadOnlyAgent();
    Platform::activateKeyboardLayout(QStringLiteral("00000418"));
    checkFormats(today);
    for (RecordSet *s : {DM->assured_person, DM->saldo_data, DM->name_account})
        if (s->active())
            s->emptyDataSet();
}

} // namespace WorkspaceOpening
