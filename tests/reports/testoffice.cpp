#include "tests/reports/testoffice.h"
#include "reports/officetext.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>
#include <gtest/gtest.h>

#include <com/sun/star/awt/FontWeight.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/bridge/XUnoUrlResolver.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNameContainer.hpp>
#include <com/sun/star/document/XEmbeddedScripts.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/script/XLibraryContainer.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/table/CellContentType.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/table/XColumnRowRange.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XNumberFormatsSupplier.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <rtl/bootstrap.hxx>

using namespace com::sun::star;
using rtl::OUString;
using uno::Any;
using uno::Reference;
using uno::Sequence;
using uno::UNO_QUERY;
using uno::UNO_QUERY_THROW;

namespace TestOffice {

namespace {

OUString a(const char *s)
{
    return OUString::createFromAscii(s);
}

Reference<uno::XComponentContext> local()
{
    static Reference<uno::XComponentContext> *context = [] {
        rtl::Bootstrap::set(a("URE_BOOTSTRAP"), a("vnd.sun.star.pathname:" EVD_OFFICE_PROGRAM_DIR "/fundamentalrc"));
        return new Reference<uno::XComponentContext>(cppu::defaultBootstrap_InitialComponentContext());
    }();
    return *context;
}

struct Office
{
    QTemporaryDir profile;
    QString pipe = QStringLiteral("evidenta_tests_%1").arg(QCoreApplication::applicationPid());
    QProcess process;
    Reference<uno::XComponentContext> context;
    bool tried = false;
};

Office &office()
{
    static Office *o = new Office; // the office outlives the tests; it is ended by the environment below
    return *o;
}

// Ends the office after the last test of the program.
class OfficeEnvironment : public ::testing::Environment
{
    void TearDown() override
    {
        Office &o = office();
        if (!o.context.is())
            return;
        closeAll(); // an unsaved document would hold the office's end
        terminate(o.pipe);
        o.context.clear();
        if (!o.process.waitForFinished(20000)) {
            o.process.kill();
            o.process.waitForFinished(5000);
        }
    }
};
const auto *const environment = ::testing::AddGlobalTestEnvironment(new OfficeEnvironment);

Reference<frame::XDesktop2> desktop()
{
    return frame::Desktop::create(office().context);
}

} // namespace

Reference<uno::XComponentContext> reach(const QString &pipe, int seconds)
{
    QDeadlineTimer deadline(seconds * 1000);
    do {
        try {
            Reference<bridge::XUnoUrlResolver> resolver = bridge::UnoUrlResolver::create(local());
            Reference<uno::XComponentContext> c(
                resolver->resolve(toOffice(QStringLiteral("uno:pipe,name=%1;urp;StarOffice.ComponentContext").arg(pipe))),
                UNO_QUERY);
            if (c.is())
                return c;
        } catch (const connection::NoConnectException &) {
        } catch (const uno::RuntimeException &) {
        }
        QThread::msleep(200);
    } while (!deadline.hasExpired());
    return {};
}

bool use()
{
    Office &o = office();
    if (!o.tried) {
        o.tried = true;
        const QString soffice = QStringLiteral(EVD_OFFICE_PROGRAM_DIR "/soffice");
        const QString profileUrl = QUrl::fromLocalFile(o.profile.path()).toString(QUrl::FullyEncoded);
        // The office program the export starts reaches this office through the profile.
        qputenv("UserInstallation", profileUrl.toUtf8());
        // It must not hold the test's output open: a test runner waits for the output to close,
        // and an office outliving its test would keep it waiting.
        o.process.setStandardOutputFile(QProcess::nullDevice());
        o.process.setStandardErrorFile(QProcess::nullDevice());
        o.process.start(soffice, {"--headless", "--invisible", "--nologo", "--nodefault", "--norestore", "--nolockcheck",
                                  QStringLiteral("--accept=pipe,name=%1;urp;").arg(o.pipe),
                                  "-env:UserInstallation=" + profileUrl});
        if (o.process.waitForStarted(10000))
            o.context = reach(o.pipe, 120);
    }
    if (!o.context.is())
        return false;
    qputenv("UNO_PATH", EVD_OFFICE_PROGRAM_DIR);
    return true;
}

Reference<uno::XComponentContext> context()
{
    return office().context;
}

void terminate(const QString &pipe)
{
    try {
        if (Reference<uno::XComponentContext> c = reach(pipe, 1); c.is())
            frame::Desktop::create(c)->terminate();
    } catch (const uno::Exception &) {
        // the office ends while answering
    }
}

std::vector<Reference<lang::XComponent>> documents()
{
    std::vector<Reference<lang::XComponent>> all;
    Reference<container::XEnumeration> e = desktop()->getComponents()->createEnumeration();
    while (e->hasMoreElements()) {
        Reference<lang::XComponent> c(e->nextElement(), UNO_QUERY);
        if (c.is())
            all.push_back(c);
    }
    return all;
}

void closeAll()
{
    for (const Reference<lang::XComponent> &c : documents()) {
        try {
            Reference<util::XCloseable>(c, UNO_QUERY_THROW)->close(true);
        } catch (const uno::Exception &) {
            c->dispose();
        }
    }
}

Reference<lang::XComponent> newSpreadsheet()
{
    // Hidden: a headless office cannot show a document's window.
    beans::PropertyValue hidden;
    hidden.Name = a("Hidden");
    hidden.Value <<= true;
    Sequence<beans::PropertyValue> arguments(1);
    arguments.getArray()[0] = hidden;
    Reference<frame::XComponentLoader> loader(desktop(), UNO_QUERY_THROW);
    return loader->loadComponentFromURL(a("private:factory/scalc"), a("_blank"), 0, arguments);
}

namespace {

Reference<sheet::XSpreadsheet> firstSheet(const Reference<lang::XComponent> &document)
{
    Reference<sheet::XSpreadsheetDocument> d(document, UNO_QUERY_THROW);
    Reference<container::XIndexAccess> sheets(d->getSheets(), UNO_QUERY_THROW);
    return Reference<sheet::XSpreadsheet>(sheets->getByIndex(0), UNO_QUERY_THROW);
}

} // namespace

void put(const Reference<lang::XComponent> &document, const QString &ref, const QString &text)
{
    Reference<text::XText>(firstSheet(document)->getCellRangeByName(toOffice(ref))->getCellByPosition(0, 0), UNO_QUERY_THROW)
        ->setString(toOffice(text));
}

void addBasic(const Reference<lang::XComponent> &document, const QString &source)
{
    Reference<document::XEmbeddedScripts> scripts(document, UNO_QUERY_THROW);
    Reference<script::XLibraryContainer> libraries(scripts->getBasicLibraries(), UNO_QUERY_THROW);
    Reference<container::XNameAccess> names(libraries, UNO_QUERY_THROW);
    Reference<container::XNameContainer> standard;
    if (names->hasByName(a("Standard"))) {
        libraries->loadLibrary(a("Standard"));
        standard.set(names->getByName(a("Standard")), UNO_QUERY_THROW);
    } else {
        standard = libraries->createLibrary(a("Standard"));
    }
    standard->insertByName(a("Module1"), Any(toOffice(source)));
}

void storeAndClose(const Reference<lang::XComponent> &document, const QString &path, const QString &filter)
{
    beans::PropertyValue f;
    f.Name = a("FilterName");
    f.Value <<= toOffice(filter);
    Sequence<beans::PropertyValue> arguments(1);
    arguments.getArray()[0] = f;
    Reference<frame::XStorable>(document, UNO_QUERY_THROW)
        ->storeToURL(toOffice(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded)), arguments);
    Reference<util::XCloseable>(document, UNO_QUERY_THROW)->close(true);
}

QString location(const Reference<lang::XComponent> &document)
{
    return fromOffice(Reference<frame::XModel>(document, UNO_QUERY_THROW)->getURL());
}

Sheet::Sheet(const Reference<lang::XComponent> &document)
    : m_sheet(firstSheet(document)),
      m_formats(Reference<util::XNumberFormatsSupplier>(document, UNO_QUERY_THROW)->getNumberFormats())
{
}

namespace {

Reference<table::XCell> cellOf(const Reference<sheet::XSpreadsheet> &sheet, const QString &ref)
{
    return sheet->getCellRangeByName(toOffice(ref))->getCellByPosition(0, 0);
}

QString columnName(int column)
{
    QString name;
    for (int c = column + 1; c > 0; c = (c - 1) / 26)
        name.prepend(QChar('A' + (c - 1) % 26));
    return name;
}

} // namespace

bool Sheet::empty(const QString &ref) const
{
    return cellOf(m_sheet, ref)->getType() == table::CellContentType_EMPTY;
}

bool Sheet::isText(const QString &ref) const
{
    return cellOf(m_sheet, ref)->getType() == table::CellContentType_TEXT;
}

bool Sheet::isNumber(const QString &ref) const
{
    return cellOf(m_sheet, ref)->getType() == table::CellContentType_VALUE;
}

QString Sheet::text(const QString &ref) const
{
    return fromOffice(Reference<text::XText>(cellOf(m_sheet, ref), UNO_QUERY_THROW)->getString());
}

double Sheet::value(const QString &ref) const
{
    return cellOf(m_sheet, ref)->getValue();
}

QString Sheet::format(const QString &ref) const
{
    sal_Int32 key = 0;
    Reference<beans::XPropertySet>(cellOf(m_sheet, ref), UNO_QUERY_THROW)->getPropertyValue(a("NumberFormat")) >>= key;
    OUString code;
    m_formats->getByKey(key)->getPropertyValue(a("FormatString")) >>= code;
    return fromOffice(code);
}

bool Sheet::bold(const QString &ref) const
{
    float weight = 0;
    Reference<beans::XPropertySet>(cellOf(m_sheet, ref), UNO_QUERY_THROW)->getPropertyValue(a("CharWeight")) >>= weight;
    return weight >= awt::FontWeight::BOLD;
}

QStringList Sheet::row(int row) const
{
    QStringList texts;
    int last = -1;
    for (int c = 0; c < 64; ++c) {
        const QString ref = columnName(c) + QString::number(row);
        texts << text(ref);
        if (!empty(ref))
            last = c;
    }
    return texts.mid(0, last + 1);
}

bool Sheet::fitted(int count) const
{
    Reference<table::XColumnRowRange> range(m_sheet, UNO_QUERY_THROW);
    Reference<container::XIndexAccess> columns(range->getColumns(), UNO_QUERY_THROW);
    for (int c = 0; c < count; ++c) {
        bool optimal = false;
        Reference<beans::XPropertySet>(columns->getByIndex(c), UNO_QUERY_THROW)->getPropertyValue(a("OptimalWidth")) >>= optimal;
        if (!optimal)
            return false;
    }
    return true;
}

} // namespace TestOffice
