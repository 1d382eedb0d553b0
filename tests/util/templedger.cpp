// SPDX-License-Identifier: GPL-3.0-or-later
#include "templedger.h"

#include <QDir>
#include <QSettings>
#include <QSqlQuery>

#include "core/base/userprompt.h"

TestEnvironment &TestEnvironment::instance()
{
    static TestEnvironment env;
    return env;
}

TestEnvironment::TestEnvironment()
{
    const QString home = m_dir.path();
    qputenv("HOME", home.toUtf8());
    qputenv("XDG_CONFIG_HOME", (home + QStringLiteral("/.config")).toUtf8());
    qputenv("XDG_DATA_HOME", (home + QStringLiteral("/.local/share")).toUtf8());
    qputenv("XDG_CACHE_HOME", (home + QStringLiteral("/.cache")).toUtf8());
    qputenv("XDG_RUNTIME_DIR", (home + QStringLiteral("/.run")).toUtf8());
    QDir().mkpath(home + QStringLiteral("/.run"));
    QFile::setPermissions(home + QStringLiteral("/.run"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QCoreApplication::setOrganizationName(programTitle());
    QCoreApplication::setApplicationName(programTitle());
}

void TestEnvironment::reset()
{
    {
        QSettings s(QSettings::NativeFormat, QSettings::UserScope, programTitle(), programTitle());
        s.clear();
        s.sync();
    }
    QDir home(m_dir.path());
    for (const QFileInfo &f : home.entryInfoList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden)) {
        if (f.fileName() == QStringLiteral(".config") || f.fileName() == QStringLiteral(".run"))
            continue;
        if (f.isDir())
            QDir(f.absoluteFilePath()).removeRecursively();
        else
            QFile::remove(f.absoluteFilePath());
    }
}

bool TestEngine::isServer()
{
    return qgetenv("SOLBITSEM_TEST_ENGINE") == "postgres";
}

bool TestEngine::available()
{
    return !qEnvironmentVariableIsEmpty("SOLBITSEM_PG");
}

TempLedger::TempLedger()
    : m_path(m_dir.path() + QStringLiteral("/panDB.db")), m_settings(ConnectionSettings::file(m_path)),
      m_db(std::make_unique<Database>())
{
    if (TestEngine::isServer()) {
        static int made = 0;
        m_settings = ConnectionSettings::parse(qEnvironmentVariable("SOLBITSEM_PG"));
        m_settings.schema = QStringLiteral("t%1_%2").arg(QCoreApplication::applicationPid()).arg(++made);
        m_path = m_settings.display();
    }
    QString error;
    if (!Database::createLedger(m_settings, &error))
        qFatal("cannot create a test ledger: %s", qPrintable(error));
    if (!m_db->open(m_settings))
        qFatal("cannot open the test ledger");
}

TempLedger::~TempLedger()
{
    if (m_settings.isServer()) {
        Database db;
        if (db.open(m_settings))
            db.exec(SqlStatement(QStringLiteral("DROP SCHEMA \"%1\" CASCADE").arg(m_settings.schema)));
    }
}

Database::Result TempLedger::exec(const SqlStatement &sql)
{
    Database::Result r = m_db->exec(sql);
    if (!r.ok())
        QTest::qFail(qPrintable(r.error.text + QStringLiteral(" | ") + r.error.statement), __FILE__, __LINE__);
    return r;
}

qint64 TempLedger::addVoucher(const LedgerRow &v)
{
    SqlStatement st(QStringLiteral(
        "INSERT INTO total (maeip_date, pro_code, maeip_code, maeip_name, maeip_cost, maechul_code, maechul_date, "
        "maechul_name, maechul_cost, maechul_usecost, group_name, pro_name) VALUES (:maeip_date, 0, :maeip_code, "
        ":maeip_name, :maeip_cost, :maechul_code, :maechul_date, :maechul_name, :maechul_cost, :maechul_usecost, "
        ":group_name, :pro_name)"));
    st.bind(QStringLiteral("maeip_date"), v.maeipDate)
        .bind(QStringLiteral("maeip_code"), v.maeipCode.value())
        .bind(QStringLiteral("maeip_name"), v.maeipName)
        .bind(QStringLiteral("maeip_cost"), v.maeipCost)
        .bind(QStringLiteral("maechul_code"), v.maechulCode.value())
        .bind(QStringLiteral("maechul_date"), v.maechulDate)
        .bind(QStringLiteral("maechul_name"), v.maechulName)
        .bind(QStringLiteral("maechul_cost"), v.maechulCost)
        .bind(QStringLiteral("maechul_usecost"), v.maechulUsecost)
        .bind(QStringLiteral("group_name"), v.groupName)
        .bind(QStringLiteral("pro_name"), v.proName)
        .into(QStringLiteral("total"));
    return exec(st).lastInsertId;
}

void TempLedger::addClient(int side, qint32 id, const QString &name, const QString &tel, const QString &phone)
{
    const QString table = side == 0 ? QStringLiteral("maeip") : QStringLiteral("maechul");
    SqlStatement st(QStringLiteral("INSERT INTO %1 (id, name, tel, phone, zipcode, address, memo) "
                                   "VALUES (:id, :name, :tel, :phone, '', '', '')")
                        .arg(table));
    st.bind(QStringLiteral("id"), id).bind(QStringLiteral("name"), name).bind(QStringLiteral("tel"), tel)
        .bind(QStringLiteral("phone"), phone).into(table);
    exec(st);
}

qint64 TempLedger::count(const QString &table)
{
    Database::Result r = exec(SqlStatement(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(table)));
    return r.ok() && r.query.next() ? r.query.value(0).toLongLong() : -1;
}

LedgerRow voucher(const QString &maeipDate, const QString &proName, qint64 maeipCost, const QString &maechulDate,
                  qint64 maechulCost, qint64 usecost, const QString &group)
{
    LedgerRow r;
    r.maeipDate = maeipDate;
    r.proName = proName;
    r.maeipCost = maeipCost;
    r.maechulDate = maechulDate;
    r.maechulCost = maechulCost;
    r.maechulUsecost = usecost;
    r.groupName = group;
    return r;
}
