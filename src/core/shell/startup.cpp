// SPDX-License-Identifier: GPL-3.0-or-later
#include "startup.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSqlError>
#include <QTemporaryDir>

#include "core/base/systemerror.h"
#include "core/base/ownerfiles.h"
#include "core/base/userprompt.h"
#include "core/data/database.h"
#include "core/data/schemamaint.h"
#include "core/data/tablecopy.h"
#include "appfolders.h"
#include "settingkeys.h"
#include "ledgerlocation.h"

namespace {
bool isDir(const QString &path) { return !path.isEmpty() && QFileInfo(path).isDir(); }
bool isFile(const QString &path) { return !path.isEmpty() && QFileInfo(path).isFile(); }
} // namespace

AppPaths ResolvePaths(AppSettings &settings, bool *dataFolderMissing)
{
    const QString dbPath = settings.get(Settings::dbPath);
    const QString rptPath = settings.get(Settings::rptPath);
    const QString dbFile = settings.get(Settings::dbFile);
    const QString postFile = settings.get(Settings::postFile);

    AppPaths p;
    const bool missing = !dbPath.isEmpty() && !isDir(dbPath);
    if (dataFolderMissing)
        *dataFolderMissing = missing;
    p.gDbPath = dbPath.isEmpty() || missing ? AppFolders::defaultDbPath() : dbPath;
    p.gDbFile = isFile(dbFile) ? dbFile : p.gDbPath + QLatin1Char('/') + Startup::ledgerFileName();
    p.gPostFile = isFile(postFile) ? postFile : p.gDbPath + QLatin1Char('/') + Startup::postalFileName();
    p.gRptPath = isDir(rptPath) ? rptPath : AppFolders::defaultRptPath();
    return p;
}

bool CheckGroupField(Database &db, UserPrompt &prompt)
{
    const GroupCheck check = CheckGroupField(db);
    prompt.show(check.notices);
    return check.readable;
}

AppPaths LoadSettings(AppSettings &settings, UserPrompt &prompt)
{
    bool missing = false;
    const AppPaths p = ResolvePaths(settings, &missing);
    if (missing)
        prompt.MsgWarn(QStringLiteral("데이터베이스 파일 경로가 없어졌거나 옮겨졌습니다.\r\n"
                                      "데이터베이스 파일 경로를 확인하십시요."),
                       QStringLiteral("파일 경로 오류"));
    // The default root may not exist yet on a first start here, so the parents are made too.
    if (!isDir(p.gRptPath))
        MakeOwnerFolders(p.gRptPath);

    settings.set(Settings::dbFile, p.gDbFile);
    settings.set(Settings::dbPath, p.gDbPath);
    settings.set(Settings::rptPath, p.gRptPath);
    settings.set(Settings::postFile, p.gPostFile);
    settings.sync();
    return p;
}

bool EnsureLedger(const AppPaths &paths, UserPrompt &prompt)
{
    if (QFileInfo::exists(paths.gDbFile))
        return true;
    QString error;
    if (!Database::createLedger(paths.gDbFile, &error)) {
        // Said once here; the first query then finds no database open.
        prompt.MsgWarn(QStringLiteral("새 장부 파일을 만들 수 없습니다.\r\n") + error, QStringLiteral("MDB 오류"));
        return false;
    }
    prompt.MsgInfo(QStringLiteral("새 장부 파일을 만들었습니다.\r\n") + QDir::toNativeSeparators(paths.gDbFile));
    return true;
}

bool OfferSetAsideLedger(const AppPaths &paths, UserPrompt &prompt)
{
    const QFileInfo ledger(paths.gDbFile);
    if (ledger.exists())
        return false;
    const QString stampFormat = QStringLiteral("yyyyMMdd-HHmmss");
    const QString prefix = ledger.completeBaseName() + Startup::setAsideMark();
    const QString suffix = QLatin1Char('.') + ledger.suffix();
    QString newest;
    QDateTime newestAt;
    const QStringList names = ledger.dir().entryList({prefix + QStringLiteral("*") + suffix}, QDir::Files);
    for (const QString &name : names) {
        const QString stamp = name.mid(prefix.size(), name.size() - prefix.size() - suffix.size());
        const QDateTime at = QDateTime::fromString(stamp, stampFormat);
        if (at.isValid() && stamp.size() == stampFormat.size() && (newest.isEmpty() || at > newestAt)) {
            newest = ledger.dir().filePath(name);
            newestAt = at;
        }
    }
    if (newest.isEmpty())
        return false;
    const QString title = QStringLiteral("복원");
    if (!prompt.MsgYesNo(QStringLiteral("장부 파일이 없습니다.\r\n복원할 때 %1에 보관해 둔 장부가 있습니다.\r\n%2\r\n"
                                        "이 장부를 다시 쓰시겠습니까?\r\n[아니요]를 누르면 이 파일은 그대로 둡니다.")
                             .arg(newestAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), QDir::toNativeSeparators(newest)),
                         title, true))
        return false;
    // Its journal, if any, goes with it; one left beside the ledger's name belongs to no file now.
    const QString journal = QStringLiteral("-journal");
    QFile::remove(paths.gDbFile + journal);
    if (!QFile::rename(newest, paths.gDbFile)) {
        prompt.MsgWarn(QStringLiteral("보관해 둔 장부를 되돌릴 수 없습니다.\r\n") + QDir::toNativeSeparators(newest), title);
        return false;
    }
    if (QFileInfo::exists(newest + journal))
        QFile::rename(newest + journal, paths.gDbFile + journal);
    Database::syncToDisk(ledger.absolutePath());
    return true;
}

bool OfferLedgerImport(const AppPaths &paths, UserPrompt &prompt, LedgerImporter &importer, const QString &question)
{
    const QString title = QStringLiteral("장부 가져오기");
    while (!QFileInfo::exists(paths.gDbFile)) {
        if (!prompt.MsgYesNo(question.isEmpty()
                                 ? QStringLiteral("장부 파일이 없습니다.\r\n예전 프로그램의 장부(panDB.mdb)를 가져오시겠습니까?\r\n"
                                                  "[아니요]를 누르면 새 빈 장부를 만듭니다.")
                                 : question,
                             title, false))
            return false;
        const auto file = prompt.pickFile(QStringLiteral("예전 장부 파일(panDB.mdb) 선택"), QDir::homePath(),
                                          QStringLiteral("Access 장부 (*.mdb *.MDB);;모든 파일 (*)"));
        if (!file)
            continue;
        const LedgerImporter::Outcome o = importer.importLedger(*file, paths);
        if (o.ok) {
            prompt.MsgInfo(o.text, title);
            return true;
        }
        // A cancel was the user's own; anything else is said before the question comes again.
        if (!o.cancelled)
            prompt.MsgWarn(o.text, title);
    }
    return true;
}

bool EnsurePostalFile(const AppPaths &paths)
{
    if (paths.gPostFile.isEmpty() || QFileInfo::exists(paths.gPostFile))
        return true;
    const QString shipped = AppFolders::programFile(Startup::postalFileName());
    if (shipped.isEmpty() || !MakeOwnerFolders(QFileInfo(paths.gPostFile).absolutePath()))
        return false; // the address search says so when it is used
    if (!QFile::copy(shipped, paths.gPostFile))
        return false;
    // The copy is the user's own from now on; a read-only source must not make it read-only.
    QFile::setPermissions(paths.gPostFile, QFile::permissions(paths.gPostFile) | QFileDevice::WriteOwner);
    return true;
}

bool OpenMainDB(Database &db, const AppPaths &paths)
{
    return db.open(paths.gDbFile, false);
}

namespace {
// A new, empty server ledger filled from the old installation's ledger: imported into a file of
// a temporary folder as at a first start, then copied in, all or nothing.
void OfferServerImport(Database &db, const AppPaths &paths, UserPrompt &prompt, LedgerImporter &importer)
{
    QTemporaryDir dir;
    if (!dir.isValid())
        return;
    AppPaths into = paths;
    into.gDbFile = QDir(dir.path()).filePath(Startup::ledgerFileName());
    OfferLedgerImport(into, prompt, importer,
                      QStringLiteral("장부 서버의 새 장부에 예전 프로그램의 장부(panDB.mdb)를 가져오시겠습니까?\r\n"
                                     "[아니요]를 누르면 빈 장부로 시작합니다."));
    if (!QFileInfo::exists(into.gDbFile))
        return;
    Database file;
    TableCopy::Result r;
    if (file.open(into.gDbFile, false, Database::Access::ReadOnly))
        r = TableCopy::copy(file, db);
    else
        r.error = QStringLiteral("가져온 장부 파일을 열 수 없습니다.");
    if (!r.ok)
        prompt.MsgWarn(QStringLiteral("가져온 장부를 장부 서버에 옮기지 못했습니다. 서버의 장부는 비어 있습니다.\r\n") + r.error,
                       LedgerLocation::serverCaption());
}
} // namespace

bool OpenServerLedger(Database &db, const LedgerLocation &location, UserPrompt &prompt, const AppPaths *paths,
                      LedgerImporter *importer, MissingLedger missing)
{
    ConnectionSettings server;
    server.engine = SqlDialect::Engine::Postgres;
    server.host = location.host;
    server.port = location.port;
    server.database = location.database;
    server.user = location.user;
    // The password stays in memory only while the ledger is opened (and made, if need be).
    const auto wipe = qScopeGuard([&] {
        server.password.fill(QLatin1Char(' '));
        server.password.clear();
    });
    const ServerLogin::Attempt a = ServerLogin::run(location, prompt, [&](const QString &password) {
        server.password = password;
        if (db.open(server))
            return ServerLogin::Attempt{ServerLogin::Outcome::Connected, {}};
        const QSqlError e = db.connection().lastError();
        return ServerLogin::Attempt{isPasswordRefused(e) ? ServerLogin::Outcome::WrongPassword : ServerLogin::Outcome::Failed,
                                    e.text()};
    });
    if (a.outcome != ServerLogin::Outcome::Connected)
        return false; // the first statement shows the box for no ledger
    if (db.hasTable(QStringLiteral("total")))
        return true;
    if (missing == MissingLedger::Leave)
        return true;
    // A database without the ledger's tables gets them only when the user says so.
    if (!prompt.MsgYesNo(QStringLiteral("장부 서버의 데이터베이스에 장부가 없습니다. 새 장부를 만드시겠습니까?\r\n") + server.display(),
                         LedgerLocation::serverCaption(), true)) {
        db.close();
        return false;
    }
    QString error;
    if (!Database::createLedger(server, &error)) {
        prompt.MsgWarn(QStringLiteral("장부 서버에 새 장부를 만들 수 없습니다.\r\n") + error, LedgerLocation::serverCaption());
        db.close();
        return false;
    }
    if (!db.open(server))
        return false;
    if (paths && importer)
        OfferServerImport(db, *paths, prompt, *importer);
    return true;
}

void RemoveRestoreLeftovers(const AppPaths &paths)
{
    const QFileInfo ledger(paths.gDbFile);
    const QString staged = Startup::stagedRestorePath(ledger.absoluteFilePath());
    QFile::remove(staged);
    QFile::remove(staged + QStringLiteral("-journal"));
    // A server restore's file of the rows it replaced, still under its temporary name; ten
    // minutes old at least, so that one another PC is writing into a shared folder stays.
    const QRegularExpression temporary(QStringLiteral("^%1%2\\d{8}-\\d{6}\\.%3\\.[A-Za-z0-9]{6}$")
                                           .arg(QRegularExpression::escape(ledger.completeBaseName()),
                                                QRegularExpression::escape(Startup::setAsideMark()),
                                                QRegularExpression::escape(ledger.suffix())));
    const QDateTime before = QDateTime::currentDateTime().addSecs(-10 * 60);
    const QFileInfoList files = ledger.dir().entryInfoList(QDir::Files | QDir::Hidden);
    for (const QFileInfo &f : files)
        if (temporary.match(f.fileName()).hasMatch() && f.lastModified() < before)
            QFile::remove(f.absoluteFilePath());
}

AppPaths InitApp(AppSettings &settings, Database &db, UserPrompt &prompt, LedgerImporter *importer)
{
    AppPaths paths = LoadSettings(settings, prompt);
    RemoveRestoreLeftovers(paths);
    if (const LedgerLocation location = LedgerLocation::read(settings); location.kind == LedgerLocation::Kind::Server) {
        EnsurePostalFile(paths);
        OpenServerLedger(db, location, prompt, &paths, importer);
        return paths;
    }
    OfferSetAsideLedger(paths, prompt);
    if (importer && !QFileInfo::exists(paths.gDbFile))
        OfferLedgerImport(paths, prompt, *importer);
    EnsureLedger(paths, prompt);
    EnsurePostalFile(paths);
    OpenMainDB(db, paths);
    return paths;
}
