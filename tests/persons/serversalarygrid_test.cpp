// The salary grid of a copy of the program on a server database while another copy (a process
// of its own) saves the same monthly row: leaving the row refuses it with the message, and the
// grid shows the other copy's values.

#include "data/ibdatabase.h"
#include "tests/persons/salarygridfixture.h"
#include "tests/support/firebirdserver.h"
#include "tests/support/programcopy.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

class ServerSalaryGrid : public SalaryGridFixture
{
protected:
    void SetUp() override
    {
        server = &FirebirdServer::shared();
        ASSERT_TRUE(server->running()) << server->error().toStdString();
        SalaryGridFixture::SetUp();
        // The window's connection reaches the same file through the server.
        IbDatabase *db = DM->IDB;
        db->close();
        db->params().clear();
        db->params() << "USER_NAME=" + FirebirdServer::user() << "PASSWORD=" + FirebirdServer::password();
        db->setDatabaseName(server->connectionName(this->db->path()));
        db->setLockTimeout(1);
        db->setConnectTimeout(5);
        db->open();
        QFile ini(folder.filePath("evidenta.ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Baza de date]\nCale=" + server->connectionName(this->db->path()).toUtf8() + "\n");
    }
    std::string stored(const QString &sql)
    {
        return server->isql(db->path(), "set heading off;\n" + sql + ";\n").simplified().toStdString();
    }

    FirebirdServer *server = nullptr;
    QTemporaryDir folder;
};

TEST_F(ServerSalaryGrid, ARowAnotherCopySavedMeanwhileIsShownWithItsValuesAndTheMessage)
{
    QAbstractItemModel *m = grid->model();
    DM->saldo_data->append();
    int r = grid->gridModel()->currentRow();
    DM->saldo_data->field("SD_MONTH").setValue(3);
    ASSERT_TRUE(m->setData(m->index(r, DeLa), "01.03.2010", Qt::EditRole));
    ASSERT_TRUE(m->setData(m->index(r, PinaLa), "31.03.2010", Qt::EditRole));
    ASSERT_TRUE(m->setData(m->index(r, Zile), 5, Qt::EditRole));
    ASSERT_TRUE(m->setData(m->index(r, Categoria), 101, Qt::EditRole));
    ASSERT_TRUE(m->setData(m->index(r, Fond), 1500.0, Qt::EditRole));
    ASSERT_TRUE(grid->postRow()) << ui.errors.join('|').toStdString();

    ProgramCopy other(folder.path());
    ASSERT_EQ(other.connected(), "");
    ASSERT_EQ(other.ask("open 1 2010"), "");
    ASSERT_EQ(other.ask("edit saldo_data 0 sd_paym_fond=2000"), "");
    ASSERT_EQ(other.ask("post saldo_data"), "");

    r = grid->gridModel()->currentRow();
    ASSERT_TRUE(m->setData(m->index(r, Fond), 1700.0, Qt::EditRole));
    ui.maxWaitDepth = 0;
    EXPECT_FALSE(grid->postRow());
    EXPECT_EQ(ui.maxWaitDepth, 1) << "the wait cursor while the save may wait for the other copy";
    EXPECT_EQ(ui.waitDepth, 0);
    EXPECT_EQ(ui.errors.join('|').toStdString(), "Înregistrarea a fost modificată de alt utilizator. Datele au fost "
                                                 "citite din nou; repetați modificarea.");
    EXPECT_FALSE(DM->saldo_data->isEditing());
    EXPECT_EQ(m->index(grid->gridModel()->currentRow(), Fond).data().toString().toStdString(), "2 000.00");
    EXPECT_EQ(m->index(grid->gridModel()->currentRow(), Individuale).data().toString().toStdString(), "120.00");
    EXPECT_EQ(stored("select cast(sd_paym_fond as integer) from saldo_data"), "2000");
}

} // namespace
