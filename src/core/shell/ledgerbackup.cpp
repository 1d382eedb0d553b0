// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledgerbackup.h"

#include <algorithm>
#include <map>
#include <optional>

#include <sqlite3.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <QMetaObject>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSettings>
#include <QSqlDriver>
#include <QVariantList>

#include "core/base/ownerfiles.h"
#include "core/base/userprompt.h"
#include "core/data/database.h"
#include "core/data/schema.h"
#include "core/data/schemamaint.h"
#include "startup.h"
#include "core/data/tablecopy.h"
#include "settingkeys.h"
#include "passwordhash.h"

namespace {

const QString kTitleBackup = QStringLiteral("백업");
const QString kTitleRestore = QStringLiteral("복원");
const QString kStampFormat = QStringLiteral("yyyyMMdd-HHmmss");
const qint64 kLeftoverAge = 10 * 60; // seconds
const QString kRestored = QStringLiteral("복원했습니다. 이전 장부는 다음 파일로 보관했습니다.\r\n");

struct Checked
{
    QString check;
    qint64 vouchers = -1;
};

// A copy is judged by the engine on a connection of its own, read-only.
Checked checkFile(const QString &path)
{
    Database copy;
    if (!copy.open(path, false, Database::Access::ReadOnly))
        return {QStringLiteral("열 수 없습니다."), -1};
    Checked out;
    out.check = copy.integrityCheck();
    if (out.check == QStringLiteral("ok")) {
        Database::Result r = copy.exec(SqlStatement(QStringLiteral("SELECT COUNT(*) FROM total")));
        if (r.ok() && r.query.next())
            out.vouchers = r.query.value(0).toLongLong();
        else
            out.check = r.error.text; // a sound file without a ledger is no ledger backup
    }
    return out;
}

// A quick look at a copy, for the list and the daily count: the header of a SQLite file and its
// voucher count. The restore checks a copy through before it uses it.
Checked lookAt(const QString &path)
{
    const QString notALedger = QStringLiteral("장부 파일이 아닙니다.");
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly) || f.read(16) != QByteArray("SQLite format 3\0", 16))
            return {notALedger, -1};
    }
    Database copy;
    if (!copy.open(path, false, Database::Access::ReadOnly))
        return {QStringLiteral("열 수 없습니다."), -1};
    Database::Result r = copy.exec(SqlStatement(QStringLiteral("SELECT COUNT(*) FROM total")));
    if (!r.ok() || !r.query.next())
        return {notALedger, -1};
    return {QStringLiteral("ok"), r.query.value(0).toLongLong()};
}

QString baseName(const AppPaths &paths)
{
    return QFileInfo(paths.gDbFile).completeBaseName();
}

QString quoted(const QString &name)
{
    return QLatin1Char('"') + name + QLatin1Char('"');
}

// Today's fields of table that db's table has; none when db lacks the table or cannot say.
QStringList presentFields(Database &db, const QString &table)
{
    QStringList out;
    const auto columns = db.columns(table);
    for (const Schema::Field &f : Schema::ledgerTable(table)->fields)
        for (const auto &c : columns)
            if (c.first.compare(f.name, Qt::CaseInsensitive) == 0) {
                out << f.name;
                break;
            }
    return out;
}

// Rows a restore takes over from the ledger it replaces: a backup puts the vouchers and the
// registers back to its date, but not the password set since nor the calls received since.
struct Kept
{
    QString table;
    QStringList fields;
    QList<QVariantList> rows;
};

// The rows of table, or with a counter key those whose key is above after; false with the
// reason when they cannot be read, a missing table included.
bool readRows(Database &db, const QString &table, qint64 after, Kept &kept, QString *error)
{
    kept = {table, presentFields(db, table), {}};
    if (kept.fields.isEmpty()) {
        *error = QStringLiteral("표 %1을(를) 읽을 수 없습니다.").arg(table);
        return false;
    }
    QStringList names;
    for (const QString &f : std::as_const(kept.fields))
        names << quoted(f);
    SqlStatement st(QStringLiteral("SELECT %1 FROM %2").arg(names.join(QStringLiteral(", ")), quoted(table)));
    if (Schema::ledgerTable(table)->fields.front().type == Schema::FieldType::Counter) {
        st.text += QStringLiteral(" WHERE %1 > :after ORDER BY %1").arg(names.front());
        st.bind(QStringLiteral("after"), after);
    }
    Database::Result r = db.exec(st);
    if (!r.ok()) {
        *error = r.error.text;
        return false;
    }
    while (r.query.next()) {
        QVariantList row;
        for (int i = 0; i < kept.fields.size(); ++i)
            row << r.query.value(i);
        kept.rows << row;
    }
    return true;
}

// Inside the caller's transaction; replacing empties the table first. The fields the target
// lacks (an older copy) are left out. The password's hash is longer than pass's declared size,
// which the engine does not hold it to, so no size check runs here.
QString writeRows(Database &db, const Kept &kept, bool replacing)
{
    const QStringList present = presentFields(db, kept.table);
    if (replacing)
        if (const Database::Result d = db.exec(SqlStatement(QStringLiteral("DELETE FROM ") + quoted(kept.table))); !d.ok())
            return d.error.text;
    QStringList names, marks;
    QList<int> used;
    for (int i = 0; i < kept.fields.size(); ++i)
        if (present.contains(kept.fields.at(i), Qt::CaseInsensitive)) {
            used << i;
            names << quoted(kept.fields.at(i));
            marks << QStringLiteral(":f%1").arg(i);
        }
    const QString insert = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                               .arg(quoted(kept.table), names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
    for (const QVariantList &row : kept.rows) {
        SqlStatement st(insert);
        for (int i : std::as_const(used))
            st.bind(QStringLiteral("f%1").arg(i), row.at(i));
        if (const Database::Result w = db.exec(st); !w.ok())
            return w.error.text;
    }
    const Schema::Field &key = Schema::ledgerTable(kept.table)->fields.front();
    if (key.type == Schema::FieldType::Counter)
        if (const QString sql = db.dialect().counterAfterKeysSql(kept.table, key.name); !sql.isEmpty())
            if (const Database::Result c = db.exec(SqlStatement(sql)); !c.ok())
                return c.error.text;
    return {};
}

// What a restore takes over from the ledger it replaces. A part that cannot be read there (a
// damaged ledger) stays as the copy has it, and a note says so.
struct Carried
{
    bool keepPassword = true;
    std::optional<Kept> user;
    std::optional<Kept> calls;
    QStringList notes;
};

Carried readCarried(Database &db, bool keepPassword, qint64 lastCall)
{
    Carried c;
    c.keepPassword = keepPassword;
    Kept kept;
    QString error;
    if (keepPassword) {
        if (readRows(db, QStringLiteral("user"), 0, kept, &error))
            c.user = kept;
        else
            c.notes << QStringLiteral("지금 장부의 비밀번호를 읽을 수 없어 백업 당시의 비밀번호를 씁니다: ") + error;
    }
    if (readRows(db, QStringLiteral("call_history"), lastCall, kept, &error))
        c.calls = kept;
    else
        c.notes << QStringLiteral("백업 이후에 받은 전화의 수신번호 내역을 읽을 수 없어 옮기지 못했습니다: ") + error;
    return c;
}

// Inside the caller's transaction. The copy's password is overwritten with secure_delete on, so
// that an older plain-text one does not live on in a free page.
QString writeCarried(Database &db, const Carried &c)
{
    QString error;
    if (c.user) {
        db.setSecureDelete(true);
        error = writeRows(db, *c.user, true);
        db.setSecureDelete(false);
    }
    if (error.isEmpty() && c.calls)
        error = writeRows(db, *c.calls, false);
    return error;
}

// The lines after "복원했습니다.": whose password holds now and what was taken over.
QString carriedText(const Carried &c)
{
    QStringList lines;
    if (c.user)
        lines << QStringLiteral("비밀번호는 지금의 것을 그대로 씁니다.");
    else if (!c.keepPassword)
        lines << QStringLiteral("비밀번호는 백업 당시의 것으로 되돌렸습니다.");
    if (c.calls && !c.calls->rows.isEmpty())
        lines << QStringLiteral("백업 이후에 받은 전화 %1건은 수신번호 내역에 그대로 두었습니다.").arg(c.calls->rows.size());
    lines << c.notes;
    return QStringLiteral("\r\n") + lines.join(QStringLiteral("\r\n"));
}

// The stored password of db's first user row (empty when none) and its last call's key.
struct LedgerFacts
{
    bool passwordRead = false;
    QString password;
    qint64 lastCall = 0;
};

LedgerFacts readFacts(Database &db)
{
    LedgerFacts facts;
    Database::Result user = db.exec(SqlStatement(QStringLiteral("SELECT pass FROM ") + quoted(QStringLiteral("user"))));
    if (user.ok()) {
        facts.passwordRead = true;
        if (user.query.next())
            facts.password = user.query.value(0).toString();
    }
    Database::Result calls = db.exec(SqlStatement(QStringLiteral("SELECT MAX(call_id) FROM call_history")));
    if (calls.ok() && calls.query.next())
        facts.lastCall = calls.query.value(0).toLongLong();
    return facts;
}

// Whether two stored values stand for one password: equal, or an older ledger's plain text and
// the hash a login made of it. Two different hashes count as different passwords.
bool samePassword(const QString &a, const QString &b)
{
    if (a == b)
        return true;
    if (a.isEmpty() || b.isEmpty())
        return false;
    if (!PasswordHash::isHash(a))
        return PasswordHash::matches(b, a);
    if (!PasswordHash::isHash(b))
        return PasswordHash::matches(a, b);
    return false;
}

} // namespace

namespace {

// The one error of a copy that failed: a lock held elsewhere is the engine's busy case, as the
// boxes tell it; anything else is plain.
SqlError copyError(int code, const QString &text, const SqlStatement &what, bool busy = false)
{
    SqlError e;
    e.kind = busy ? SqlError::Kind::Busy : SqlError::Kind::Other;
    e.code = code;
    e.text = text;
    e.statement = what.display();
    return e;
}

// The engine's own handle under the driver; null when there is none.
sqlite3 *sqliteHandle(const Database &db)
{
    const QVariant handle = db.connection().driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.constData());
}

// SQLite's online backup: the pages copied under the engine's own lock.
SqlError copyFile(Database &db, const QString &target, const SqlStatement &what)
{
    sqlite3 *source = sqliteHandle(db);
    if (!source)
        return copyError(SQLITE_MISUSE, QStringLiteral("no engine handle"), what);
    const QString part = target + QStringLiteral(".part");
    QFile::remove(part);
    // Made here so that the copy is the owner's alone like the ledger; the engine opens it as is.
    if (QFile made(part); !made.open(QIODevice::WriteOnly | QIODevice::NewOnly, OwnerFiles::fileMode()))
        return copyError(SQLITE_CANTOPEN, made.errorString(), what);
    sqlite3 *dest = nullptr;
    int rc = sqlite3_open_v2(part.toUtf8().constData(), &dest, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    QString text;
    if (rc == SQLITE_OK) {
        if (sqlite3_backup *b = sqlite3_backup_init(dest, "main", source, "main")) {
            // A few hundred pages at a time, with the read lock let go in between, so that the
            // program's own writes go on while a large ledger is copied. A write by another
            // connection meanwhile makes the engine start over, so the copy is still one moment
            // of the file. A lock held by a writer is waited out a while.
            int busy = 0;
            do {
                rc = sqlite3_backup_step(b, 256);
                if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
                    ++busy;
                    sqlite3_sleep(50);
                } else {
                    busy = 0;
                }
            } while (rc == SQLITE_OK || (busy > 0 && busy < 100));
            sqlite3_backup_finish(b);
            if (rc == SQLITE_DONE)
                rc = SQLITE_OK;
        }
        if (rc == SQLITE_OK)
            rc = sqlite3_errcode(dest);
    }
    if (rc != SQLITE_OK)
        text = dest && sqlite3_errcode(dest) != SQLITE_OK ? QString::fromUtf8(sqlite3_errmsg(dest))
                                                          : QString::fromUtf8(sqlite3_errstr(rc));
    sqlite3_close(dest);
    if (rc == SQLITE_OK && !QFile::rename(part, target)) {
        rc = SQLITE_CANTOPEN;
        text = QStringLiteral("이름을 바꿀 수 없습니다.");
    }
    if (rc != SQLITE_OK) {
        QFile::remove(part);
        const int primary = rc & 0xff;
        return copyError(rc, text, what, primary == SQLITE_BUSY || primary == SQLITE_LOCKED);
    }
    return {};
}

// A server ledger: every table read in one snapshot, so that a change another PC commits
// meanwhile is in the copy whole or not at all, and nothing is locked against the other PCs.
SqlError copyServer(Database &db, const QString &target, const SqlStatement &what)
{
    const SqlStatement snapshot(QStringLiteral("START TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY"));
    if (const Database::Result begun = db.exec(snapshot); !begun.ok())
        return begun.error;
    const TableCopy::Result copied = TableCopy::copyToNewFile(db, target);
    db.exec(SqlStatement(QStringLiteral("ROLLBACK")));
    if (copied.ok)
        return {};
    return copyError(0, copied.error, what);
}

} // namespace

SqlError LedgerBackup::copyLedger(Database &db, const QString &target)
{
    const SqlStatement what(QStringLiteral("BACKUP TO ") + QDir::toNativeSeparators(target));
    if (!db.isOpen())
        return SqlError::noDatabase(what);
    if (QFileInfo::exists(target))
        return copyError(db.dialect().engine() == SqlDialect::Engine::Sqlite ? SQLITE_CANTOPEN : 0,
                         QStringLiteral("파일이 이미 있습니다."), what);
    return db.dialect().engine() == SqlDialect::Engine::Sqlite ? copyFile(db, target, what)
                                                               : copyServer(db, target, what);
}

LedgerBackup::LedgerBackup(AppSettings &settings, Database &db, UserPrompt &prompt, const AppPaths &paths)
    : m_settings(settings), m_db(db), m_prompt(prompt), m_paths(paths)
{
}

QString LedgerBackup::folder() const
{
    // Beside the data folder, so that the copies share its disk and its owner but not its name.
    const QFileInfo data(QDir(m_paths.gDbPath).absolutePath());
    return QDir(data.absolutePath()).filePath(QStringLiteral("Backup"));
}

QString LedgerBackup::recordFile() const
{
    return QDir(folder()).filePath(QStringLiteral("backup.ini"));
}

QString LedgerBackup::stamp() const
{
    return now().toString(kStampFormat);
}

int LedgerBackup::setting(const SettingKey<int> &key) const
{
    const int n = m_settings.get(key);
    return n >= 0 ? n : key.fallback;
}

QString LedgerBackup::sizeText(qint64 bytes)
{
    const QLocale c(QLocale::C);
    if (bytes < 1024 * 1024)
        return c.toString((bytes + 1023) / 1024) + QStringLiteral(" KB");
    return c.toString(static_cast<double>(bytes) / (1024.0 * 1024.0), 'f', 1) + QStringLiteral(" MB");
}

bool LedgerBackup::dailyDue()
{
    // A ledger that cannot be read, or a file holding none, has been reported at start; a copy
    // of it would help no one.
    if (!m_db.isOpen() || !HoldsLedger(m_db))
        return false;
    // Only a copy this program made, recorded as sound and still that file, counts for today; a
    // file that merely bears today's date does not.
    const QDate today = now().date();
    const QList<Entry> all = entries();
    return std::none_of(all.begin(), all.end(), [&](const Entry &e) {
        return e.taken.date() == today && e.check == QStringLiteral("ok") && lookAt(e.path).check == QStringLiteral("ok");
    });
}

void LedgerBackup::dailyBackup()
{
    if (dailyDue())
        report(makeCopy(m_db, now(), keptDays(), keptMonths()), true);
}

void LedgerBackup::startDailyBackup()
{
    if (!dailyDue() || m_worker.joinable())
        return;
    // The copy and its check read the whole file; on a thread of its own, over a connection of
    // its own, a large ledger does not hold up the window. The box comes back to this thread.
    m_worker = std::thread([this, ledger = m_db.settings(), at = now(), days = keptDays(), months = keptMonths()] {
        Copy copy;
        {
            Database source;
            if (source.open(ledger, false, Database::Access::ReadOnly))
                copy = makeCopy(source, at, days, months);
            else
                copy.failure = ledger.isServer() ? QStringLiteral("장부 서버에 접속할 수 없습니다.")
                                                 : QStringLiteral("장부 파일을 열 수 없습니다.");
        }
        QMetaObject::invokeMethod(&m_context, [this, copy] { report(copy, true); }, Qt::QueuedConnection);
    });
}

LedgerBackup::~LedgerBackup()
{
    if (m_worker.joinable())
        m_worker.join();
}

LedgerBackup::Entry LedgerBackup::backupNow(bool quiet)
{
    const Copy copy = makeCopy(m_db, now(), keptDays(), keptMonths());
    report(copy, quiet);
    return copy.entry;
}

LedgerBackup::Copy LedgerBackup::makeCopy(Database &source, const QDateTime &at, int days, int months) const
{
    Copy copy;
    const QString dir = folder();
    const QString target = QDir(dir).filePath(baseName(m_paths) + QLatin1Char('-') + at.toString(kStampFormat)
                                              + QStringLiteral(".db"));
    if (!MakeOwnerFolders(dir)) {
        copy.failure = QStringLiteral("폴더를 만들 수 없습니다.");
    } else {
        removeLeftovers();
        if (const SqlError e = copyLedger(source, target); e.isError())
            copy.failure = e.text;
    }
    if (!copy.failure.isEmpty())
        return copy;
    const Checked checked = checkFile(target);
    copy.entry = {target, at, QFileInfo(target).size(), checked.vouchers, checked.check};
    {
        QSettings record(recordFile(), QSettings::IniFormat);
        record.beginGroup(QFileInfo(target).fileName());
        record.setValue(QStringLiteral("size"), copy.entry.size);
        record.setValue(QStringLiteral("vouchers"), copy.entry.vouchers);
        record.setValue(QStringLiteral("check"), copy.entry.check);
        record.endGroup();
    }
    rotate(at.date(), days, months);
    return copy;
}

QStringList LedgerBackup::removeLeftovers() const
{
    // What a killed copy left: the engine's .part file (and its journal) or a server copy's
    // temporary file. One a copy still running elsewhere writes is younger than the margin.
    const QRegularExpression leftover(QStringLiteral("^%1-\\d{8}-\\d{6}\\.db\\.(part(-journal)?|[A-Za-z0-9]{6})$")
                                          .arg(QRegularExpression::escape(baseName(m_paths))));
    const QDateTime before = QDateTime::currentDateTime().addSecs(-kLeftoverAge);
    QStringList removed;
    const QFileInfoList files = QDir(folder()).entryInfoList(QDir::Files | QDir::Hidden);
    for (const QFileInfo &f : files)
        if (leftover.match(f.fileName()).hasMatch() && f.lastModified() < before && QFile::remove(f.absoluteFilePath()))
            removed << f.absoluteFilePath();
    return removed;
}

void LedgerBackup::report(const Copy &copy, bool quiet)
{
    const Entry &entry = copy.entry;
    if (!copy.failure.isEmpty())
        m_prompt.MsgWarn(QStringLiteral("백업 폴더에 백업을 만들지 못했습니다.\r\n") + QDir::toNativeSeparators(folder())
                             + QStringLiteral("\r\n") + copy.failure
                             + QStringLiteral("\r\n장부는 그대로 사용할 수 있습니다."),
                         kTitleBackup);
    else if (entry.check != QStringLiteral("ok"))
        m_prompt.MsgWarn(QStringLiteral("백업 파일 검사에서 문제가 발견되었습니다. 장부 파일이 손상되었을 수 있습니다.\r\n")
                             + QDir::toNativeSeparators(entry.path) + QStringLiteral("\r\n") + entry.check,
                         kTitleBackup);
    else if (!quiet)
        m_prompt.MsgInfo(QStringLiteral("백업했습니다.\r\n") + QDir::toNativeSeparators(entry.path)
                             + QStringLiteral("\r\n전표 ") + QLocale(QLocale::C).toString(entry.vouchers)
                             + QStringLiteral("건, ") + sizeText(entry.size),
                         kTitleBackup);
    if (m_reported)
        m_reported();
}

QList<LedgerBackup::Entry> LedgerBackup::entries() const
{
    static const QRegularExpression stampAtEnd(QStringLiteral("-(\\d{8}-\\d{6})\\.db$"));
    const QString prefix = baseName(m_paths) + QLatin1Char('-');
    QSettings record(recordFile(), QSettings::IniFormat);
    QList<Entry> out;
    const QFileInfoList files = QDir(folder()).entryInfoList({prefix + QStringLiteral("*.db")}, QDir::Files);
    for (const QFileInfo &f : files) {
        const auto m = stampAtEnd.match(f.fileName());
        const QDateTime taken = m.hasMatch() ? QDateTime::fromString(m.captured(1), kStampFormat) : QDateTime();
        if (!taken.isValid() || f.fileName().size() != prefix.size() + m.capturedLength(0) - 1)
            continue;
        record.beginGroup(f.fileName());
        // A record of another size is of another file: as good as none.
        const bool same = record.value(QStringLiteral("size"), -1).toLongLong() == f.size();
        out.append({f.absoluteFilePath(), taken, f.size(), same ? record.value(QStringLiteral("vouchers"), -1).toLongLong() : -1,
                    same ? record.value(QStringLiteral("check")).toString() : QString()});
        record.endGroup();
    }
    std::sort(out.begin(), out.end(), [](const Entry &a, const Entry &b) { return a.taken > b.taken; });
    return out;
}

QList<LedgerBackup::Entry> LedgerBackup::examined() const
{
    QList<Entry> out = entries();
    for (Entry &e : out) {
        const Checked looked = lookAt(e.path);
        e.check = looked.check;
        e.vouchers = looked.vouchers;
    }
    return out;
}

int LedgerBackup::keptDays() const
{
    // The copy just made always stays.
    return std::max(1, setting(Settings::backupKeepDays));
}

int LedgerBackup::keptMonths() const
{
    return setting(Settings::backupKeepMonths);
}

QStringList LedgerBackup::rotate()
{
    return rotate(now().date(), keptDays(), keptMonths());
}

QStringList LedgerBackup::rotate(const QDate &today, int days, int months) const
{
    const QList<Entry> all = entries(); // newest first
    QStringList keep;
    // A copy recorded as sound is kept before any other file of its day or month, so that a file
    // merely named like a copy never stands in for one.
    const auto pick = [](auto &chosen, const auto &key, const Entry &e) {
        const auto [it, added] = chosen.try_emplace(key, &e);
        if (!added && it->second->check != QStringLiteral("ok") && e.check == QStringLiteral("ok"))
            it->second = &e;
    };
    // The newest copy of each day, for the last days that have one.
    std::map<QDate, const Entry *, std::greater<>> newestOfDay;
    for (const Entry &e : all)
        pick(newestOfDay, e.taken.date(), e);
    int n = 0;
    for (const auto &[day, e] : newestOfDay)
        if (n++ < days)
            keep << e->path;
    // The first copy of each month, for this month and the months before it.
    const QDate thisMonth(today.year(), today.month(), 1);
    const QDate firstMonth = thisMonth.addMonths(-(months - 1));
    std::map<QDate, const Entry *> firstOfMonth;
    for (auto it = all.crbegin(); it != all.crend(); ++it) {
        const QDate month(it->taken.date().year(), it->taken.date().month(), 1);
        if (months > 0 && month >= firstMonth && month <= thisMonth)
            pick(firstOfMonth, month, *it);
    }
    for (const auto &[month, e] : firstOfMonth)
        keep << e->path;

    QStringList removed;
    QSettings record(recordFile(), QSettings::IniFormat);
    for (const Entry &e : all) {
        if (keep.contains(e.path) || !QFile::remove(e.path))
            continue;
        removed << e.path;
        record.remove(QFileInfo(e.path).fileName());
    }
    return removed;
}

bool LedgerBackup::restore(const Entry &entry)
{
    const QString taken = entry.taken.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    const Checked checked = checkFile(entry.path);
    if (checked.check != QStringLiteral("ok")) {
        m_prompt.MsgWarn(QStringLiteral("이 백업 파일은 손상되어 복원할 수 없습니다.\r\n")
                             + QDir::toNativeSeparators(entry.path) + QStringLiteral("\r\n") + checked.check,
                         kTitleRestore);
        return false;
    }
    LedgerFacts copy;
    {
        Database file;
        if (file.open(entry.path, false, Database::Access::ReadOnly))
            copy = readFacts(file);
    }
    const LedgerFacts current = readFacts(m_db);
    const bool differs = current.passwordRead && !samePassword(current.password, copy.password);

    const QString ledger = m_paths.gDbFile;
    const QFileInfo info(ledger);
    const QString aside = info.dir().filePath(info.completeBaseName() + QStringLiteral("-복원전-") + stamp()
                                              + QLatin1Char('.') + info.suffix());
    const bool server = m_db.settings().isServer();
    // What goes back and what stays: a restore is asked for to get vouchers back, and must not
    // quietly undo the password set since nor lose the calls received since.
    const QString question =
        taken + QStringLiteral("의 백업(전표 ") + QLocale(QLocale::C).toString(checked.vouchers)
        + (server ? QStringLiteral("건)으로 서버 장부를 되돌리시겠습니까?\r\n") : QStringLiteral("건)으로 장부를 되돌리시겠습니까?\r\n"))
        + QStringLiteral("백업 당시로 돌아가는 것: 전표, 매입처, 매출처, 상품, 그룹, 삭제된 전표\r\n"
                         "그대로 두는 것: 지금의 비밀번호, 백업 이후에 받은 전화의 수신번호 내역\r\n")
        + (differs ? QStringLiteral("비밀번호가 백업 당시와 다릅니다. 어느 쪽을 쓸지 다음에 묻습니다.\r\n") : QString())
        + (server ? QStringLiteral("지금의 서버 장부는 먼저 다음 파일로 백업해 둡니다.\r\n")
                  : QStringLiteral("지금의 장부는 지우지 않고 다음 이름으로 보관합니다.\r\n"))
        + QDir::toNativeSeparators(aside);
    if (!m_prompt.MsgYesNo(question, kTitleRestore, false))
        return false;
    bool keepPassword = true;
    if (differs)
        keepPassword = !m_prompt.MsgYesNo(
            (copy.password.isEmpty() ? QStringLiteral("백업 당시에는 비밀번호가 없었습니다. 비밀번호를 없애시겠습니까?\r\n")
                                     : QStringLiteral("백업 당시의 비밀번호로 바꾸시겠습니까?\r\n"))
                + QStringLiteral("'아니요'를 누르면 지금의 비밀번호를 그대로 씁니다."),
            kTitleRestore, false);
    if (server)
        return restoreOntoServer(entry, aside, keepPassword, copy.lastCall);

    const Carried carried = readCarried(m_db, keepPassword, copy.lastCall);
    if (const QString failure = swapIn(entry.path, aside, [&](Database &db) { return writeCarried(db, carried); }); !failure.isEmpty()) {
        m_prompt.MsgWarn(QStringLiteral("복원하지 못했습니다. 장부는 그대로입니다.\r\n") + failure + QStringLiteral("\r\n")
                             + QDir::toNativeSeparators(info.dir().path()),
                         kTitleRestore);
        return false;
    }
    m_setAside = aside;
    m_prompt.MsgInfo(kRestored + QDir::toNativeSeparators(aside) + carriedText(carried), kTitleRestore);
    return true;
}

QString LedgerBackup::swapIn(const QString &copyPath, const QString &aside, const std::function<QString(Database &)> &keep)
{
    // At every step the ledger's name holds a whole ledger, the old one until a single rename
    // puts the new one over it: a kill anywhere leaves a ledger that opens.
    const QString ledger = m_paths.gDbFile;
    const QString folder = QFileInfo(ledger).absolutePath();
    const QString staged = Startup::stagedRestorePath(ledger);
    const QString journal = QStringLiteral("-journal");
    const auto dropStaged = [&] {
        QFile::remove(staged);
        QFile::remove(staged + journal);
    };
    const auto step = [this](int n) {
        if (m_afterStep)
            m_afterStep(n);
    };
    dropStaged();
    if (!QFile::copy(copyPath, staged)) {
        dropStaged();
        return QStringLiteral("백업 파일을 복사할 수 없습니다.");
    }
    QFile::setPermissions(staged, QFile::permissions(staged) | QFileDevice::WriteOwner);
    if (const QString e = Database::syncToDisk(staged); !e.isEmpty()) {
        dropStaged();
        return QStringLiteral("백업 파일을 복사할 수 없습니다: ") + e;
    }
    step(1);
    // A copy of an older installation is brought up to date as at start, which also gives it the
    // call history's table, and takes what stays from the current ledger before it is in place.
    QString failure;
    {
        Database db;
        if (!db.open(staged, false) || !CheckGroupField(db, m_prompt)) {
            failure = QStringLiteral("백업 파일을 열 수 없습니다.");
        } else {
            TransactionGuard guard(db, QStringLiteral("restore"));
            failure = keep(db);
            if (failure.isEmpty())
                failure = guard.commit().text;
            if (!failure.isEmpty())
                failure = QStringLiteral("지금의 비밀번호와 수신번호 내역을 옮길 수 없습니다: ") + failure;
        }
    }
    if (failure.isEmpty())
        if (const QString e = Database::syncToDisk(staged); !e.isEmpty())
            failure = QStringLiteral("백업 파일을 복사할 수 없습니다: ") + e;
    if (!failure.isEmpty()) {
        dropStaged();
        return failure;
    }
    step(2);
    // The ledger also under the dated name, keeping its own until the copy replaces it. A file of
    // that name (a restore in the same second) is another kept ledger and stays as it is.
    m_db.close();
    const QByteArray from = QFile::encodeName(ledger);
    const QByteArray to = QFile::encodeName(aside);
    if (QFileInfo::exists(aside)) {
        failure = QStringLiteral("지금의 장부를 보관할 수 없습니다. 같은 이름의 파일이 있습니다: ") + QDir::toNativeSeparators(aside);
    } else if (QFileInfo::exists(ledger) && ::link(from.constData(), to.constData()) != 0
               && (!QFile::copy(ledger, aside) || !Database::syncToDisk(aside).isEmpty())) {
        QFile::remove(aside);
        failure = QStringLiteral("지금의 장부를 보관할 수 없습니다.");
    }
    // A journal beside the ledger belongs to it and must not be applied to the copy.
    const bool journalMoved = failure.isEmpty() && QFileInfo::exists(ledger + journal)
                              && QFile::rename(ledger + journal, aside + journal);
    Database::syncToDisk(folder);
    if (failure.isEmpty()) {
        step(3);
        // rename(2) replaces the name in one step.
        if (::rename(QFile::encodeName(staged).constData(), from.constData()) != 0) {
            failure = QStringLiteral("백업 파일을 장부 자리에 놓을 수 없습니다: ") + QString::fromLocal8Bit(std::strerror(errno));
            // The same ledger is still under its own name.
            if (journalMoved)
                QFile::rename(aside + journal, ledger + journal);
            QFile::remove(aside);
        }
        Database::syncToDisk(folder);
    }
    if (!failure.isEmpty())
        dropStaged();
    else
        step(4);
    OpenMainDB(m_db, m_paths);
    return failure;
}

bool LedgerBackup::restoreOntoServer(const Entry &entry, const QString &aside, bool keepPassword, qint64 lastCall)
{
    // The other PCs keep their connections, so the server ledger is not swapped but its rows
    // replaced, all in one transaction with the password and the calls it keeps; the rows it
    // held go into a file first.
    QString failure;
    Carried carried;
    if (!MakeOwnerFolders(QFileInfo(aside).absolutePath()))
        failure = QStringLiteral("폴더를 만들 수 없습니다: ") + QDir::toNativeSeparators(QFileInfo(aside).absolutePath());
    else if (const SqlError e = copyLedger(m_db, aside); e.isError())
        failure = QStringLiteral("지금의 장부를 보관할 수 없습니다.\r\n") + e.text;
    if (failure.isEmpty()) {
        Database copy;
        TransactionGuard guard(m_db, QStringLiteral("restore"));
        if (!copy.open(entry.path, false, Database::Access::ReadOnly)) {
            failure = QStringLiteral("백업 파일을 열 수 없습니다.");
        } else if (!guard.active()) {
            failure = QStringLiteral("장부 서버에 쓸 수 없습니다.");
        } else {
            carried = readCarried(m_db, keepPassword, lastCall);
            if (const TableCopy::Result r = TableCopy::replace(copy, m_db); !r.ok)
                failure = r.error;
            else if (const QString e = writeCarried(m_db, carried); !e.isEmpty())
                failure = QStringLiteral("지금의 비밀번호와 수신번호 내역을 옮길 수 없습니다: ") + e;
            else
                failure = guard.commit().text;
        }
    }
    if (!failure.isEmpty()) {
        m_prompt.MsgWarn(QStringLiteral("복원하지 못했습니다. 장부는 그대로입니다.\r\n") + failure, kTitleRestore);
        return false;
    }
    m_setAside = aside;
    m_prompt.MsgInfo(kRestored + QDir::toNativeSeparators(aside) + carriedText(carried), kTitleRestore);
    return true;
}
