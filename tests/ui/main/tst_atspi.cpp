// What a screen reader on Linux hears of the main window, read over AT-SPI as Orca reads it:
// a changed setting and a value that cannot be saved say so, the status line is plain text,
// and the controls of a page not shown are not showing.
//
// AT-SPI needs a session bus, the accessibility bus and a real display. The test starts
// itself again inside `dbus-run-session` and `xvfb-run`, and the copy does the reading; it
// is skipped, with the reason, where the machine lacks one of them.
#include "support/MainFixtures.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

using namespace MainFixtures;

namespace {

const char ChildVariable[] = "BVL_ATSPI_READER";
const QString AccessibleInterface = QStringLiteral("org.a11y.atspi.Accessible");

// A reference to an accessible object: the bus name of its application and its path.
struct AtSpiObject
{
    QString service;
    QString path;
};

QList<AtSpiObject> ObjectList(const QVariant &reply)
{
    QList<AtSpiObject> objects;
    const QDBusArgument argument = reply.value<QDBusArgument>();
    argument.beginArray();
    while (!argument.atEnd()) {
        AtSpiObject object;
        QDBusObjectPath path;
        argument.beginStructure();
        argument >> object.service >> path;
        argument.endStructure();
        object.path = path.path();
        objects << object;
    }
    argument.endArray();
    return objects;
}

// A screen reader's side of the accessibility bus. Our own application answers on this
// thread, so every call waits with the event loop running.
class ScreenReader
{
public:
    explicit ScreenReader(const QString &address)
        : m_bus(QDBusConnection::connectToBus(address, QStringLiteral("screen-reader")))
    {}
    ~ScreenReader() { QDBusConnection::disconnectFromBus(QStringLiteral("screen-reader")); }

    bool connected() const { return m_bus.isConnected(); }

    QDBusMessage call(const AtSpiObject &object, const QString &interface, const QString &method,
                      const QVariantList &arguments = {})
    {
        QDBusMessage message = QDBusMessage::createMethodCall(object.service, object.path, interface, method);
        message.setArguments(arguments);
        return m_bus.call(message, QDBus::BlockWithGui, 5000);
    }

    QVariant property(const AtSpiObject &object, const QString &name)
    {
        const QDBusMessage reply = call(object, QStringLiteral("org.freedesktop.DBus.Properties"),
                                        QStringLiteral("Get"), {AccessibleInterface, name});
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return {};
        return reply.arguments().constFirst().value<QDBusVariant>().variant();
    }

    QList<AtSpiObject> children(const AtSpiObject &object)
    {
        const QDBusMessage reply = call(object, AccessibleInterface, QStringLiteral("GetChildren"));
        return reply.arguments().isEmpty() ? QList<AtSpiObject>() : ObjectList(reply.arguments().constFirst());
    }

    // The applications the registry knows, found by the name they give.
    AtSpiObject application(const QString &name)
    {
        const AtSpiObject desktop{QStringLiteral("org.a11y.atspi.Registry"),
                                  QStringLiteral("/org/a11y/atspi/accessible/root")};
        for (const AtSpiObject &application : children(desktop))
            if (property(application, QStringLiteral("Name")).toString() == name)
                return application;
        return {};
    }

    // The states as AT-SPI numbers them (two 32-bit words).
    bool hasState(const AtSpiObject &object, int state)
    {
        const QDBusMessage reply = call(object, AccessibleInterface, QStringLiteral("GetState"));
        if (reply.arguments().isEmpty())
            return false;
        QList<uint> words;
        reply.arguments().constFirst().value<QDBusArgument>() >> words;
        return words.size() == 2 && (words.at(state / 32) >> (state % 32) & 1u);
    }

private:
    QDBusConnection m_bus;
};

const int StateShowing = 25;

// The object of widget in application: Qt names each accessible object after its id.
AtSpiObject ObjectOf(const AtSpiObject &application, QWidget *widget)
{
    const QAccessible::Id id = QAccessible::uniqueId(QAccessible::queryAccessibleInterface(widget));
    return {application.service, QStringLiteral("/org/a11y/atspi/accessible/%1").arg(id)};
}

QString AccessibilityBusAddress()
{
    QDBusInterface bus(QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"), QStringLiteral("org.a11y.Bus"));
    const QDBusReply<QString> address = bus.call(QStringLiteral("GetAddress"));
    return address.isValid() ? address.value() : QString();
}

}   // namespace

class TestAtSpi : public QObject
{
    Q_OBJECT
private slots:
    void screenReaderHearsChangesRefusalsAndPagesShown()
    {
        if (qEnvironmentVariableIsSet(ChildVariable))
            readOverAtSpi();
        else
            runInsideSessionAndDisplay();
    }

private:
    // The copy that reads: the window on the virtual display, a screen reader on the bus.
    void readOverAtSpi()
    {
        const QString address = AccessibilityBusAddress();
        if (address.isEmpty())
            QSKIP("the session bus offers no accessibility bus (at-spi2-core is not installed)");
        MainFixture f;
        bvlMain &w = *f.window;
        f.openWith(SampleSettings(), SampleImage(), Header(0x32, 1, QStringLiteral("Ann & <b>Bo</b>")));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));

        ScreenReader reader(address);
        QVERIFY(reader.connected());
        AtSpiObject application;
        QTRY_VERIFY_WITH_TIMEOUT(
            !(application = reader.application(QCoreApplication::applicationName())).service.isEmpty(), 10000);

        const auto described = [&](QWidget *widget) {
            return reader.property(ObjectOf(application, widget), QStringLiteral("Description")).toString();
        };
        const auto showing = [&](QWidget *widget) {
            return reader.hasState(ObjectOf(application, widget), StateShowing);
        };
        const QString changed = f.T(QStringLiteral("bvlMain.sChangedMark_V"));

        QCOMPARE(described(w.lbFileDesc), w.lbFileDesc->text());   // the author's "<b>" as typed
        QLineEdit *timeout = f.text(3);                            // on the Display page
        QVERIFY(showing(f.check(1)));
        QVERIFY(!showing(timeout));
        w.tvUI_NodeClick(w.NodeByKey(QStringLiteral("Display")));
        QTRY_VERIFY(showing(timeout));
        QVERIFY(!showing(f.check(1)));

        timeout->setText(QStringLiteral("300"));
        QCOMPARE(described(timeout),
                 QStringLiteral("Seconds\n") + f.T(QStringLiteral("bvlMain.sNotAByte_V")) + '\n' + changed);
        w.tvUI_NodeClick(w.NodeByKey(QStringLiteral("Sound")));
        f.check(1)->click();
        QCOMPARE(described(f.check(1)), QStringLiteral("Beeps on keys\n") + changed);
    }

    // Starts this program again with a session bus and a display of its own.
    void runInsideSessionAndDisplay()
    {
        for (const char *tool : {"dbus-run-session", "xvfb-run"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QSKIP(qPrintable(QStringLiteral("%1 is not installed").arg(QString::fromLatin1(tool))));
        QProcess reader;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(ChildVariable), QStringLiteral("1"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
        environment.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        reader.setProcessEnvironment(environment);
        reader.setProcessChannelMode(QProcess::MergedChannels);
        reader.start(QStringLiteral("dbus-run-session"),
                     {QStringLiteral("--"), QStringLiteral("xvfb-run"), QStringLiteral("-a"),
                      QCoreApplication::applicationFilePath(), QStringLiteral("-o"), QStringLiteral("-,txt")});
        QVERIFY(reader.waitForFinished(120000));
        const QString output = QString::fromLocal8Bit(reader.readAll());
        if (!output.contains(QStringLiteral("Start testing of TestAtSpi")))
            QSKIP(qPrintable(QStringLiteral("no session bus and display could be started: ") + output.trimmed()));
        const qsizetype skip = output.indexOf(QStringLiteral("SKIP   : "));
        if (skip >= 0)
            QSKIP(qPrintable(output.mid(skip).section(QLatin1Char('\n'), 0, 0)));
        if (reader.exitStatus() != QProcess::NormalExit || reader.exitCode() != 0)
            QFAIL(qPrintable(output));
    }
};

QTEST_MAIN(TestAtSpi)
#include "tst_atspi.moc"
