// SPDX-License-Identifier: GPL-3.0-or-later
#include "jetfile.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <vector>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

// libmdb's header is C and uses old-style casts in its macros.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wold-style-cast"
#pragma GCC diagnostic ignored "-Wpedantic"
#include <mdbtools.h>
#pragma GCC diagnostic pop

namespace {
const char *const kCharsetVariable = "MDB_JET3_CHARSET";
// A child's limit of silence: libmdb reads tens of megabytes a second, so a child that has sent
// nothing for this long is going round in circles.
constexpr int kChildSilenceMs = 30000;

QString nativePath(const QString &path) { return QDir::toNativeSeparators(path); }

// The versions of the header's byte 0x14, as Access calls them.
QString versionName(quint32 version)
{
    switch (version) {
    case 0: return QStringLiteral("Jet 3 (Access 97)");
    case 1: return QStringLiteral("Jet 4 (Access 2000/2002/2003)");
    case 2: return QStringLiteral("ACE 12 (Access 2007)");
    case 3: return QStringLiteral("ACE 14 (Access 2010)");
    default: return QStringLiteral("ACE (Access 2013 이후, 버전 %1)").arg(version);
    }
}

JetFile::ColumnKind kindOf(int type)
{
    switch (type) {
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT: return JetFile::ColumnKind::Integer;
    case MDB_MONEY:
    case MDB_FLOAT:
    case MDB_DOUBLE:
    case MDB_NUMERIC: return JetFile::ColumnKind::Real;
    case MDB_DATETIME: return JetFile::ColumnKind::DateTime;
    case MDB_TEXT:
    case MDB_MEMO: return JetFile::ColumnKind::Text;
    default: return JetFile::ColumnKind::Other;
    }
}

QString typeName(int type)
{
    switch (type) {
    case MDB_BOOL: return QStringLiteral("Yes/No");
    case MDB_BYTE: return QStringLiteral("Byte");
    case MDB_INT: return QStringLiteral("Integer");
    case MDB_LONGINT: return QStringLiteral("Long Integer");
    case MDB_MONEY: return QStringLiteral("Currency");
    case MDB_FLOAT: return QStringLiteral("Single");
    case MDB_DOUBLE: return QStringLiteral("Double");
    case MDB_DATETIME: return QStringLiteral("Date/Time");
    case MDB_TEXT: return QStringLiteral("Text");
    case MDB_OLE: return QStringLiteral("OLE Object");
    case MDB_MEMO: return QStringLiteral("Memo");
    case MDB_NUMERIC: return QStringLiteral("Decimal");
    default: return QStringLiteral("형식 %1").arg(type);
    }
}

// libmdb reads MDB_JET3_CHARSET while it opens a file; the caller's own value comes back after.
class CharsetForOpen
{
public:
    explicit CharsetForOpen(const QByteArray &charset)
        : m_had(qEnvironmentVariableIsSet(kCharsetVariable)), m_old(qgetenv(kCharsetVariable))
    {
        if (charset.isEmpty())
            qunsetenv(kCharsetVariable);
        else
            qputenv(kCharsetVariable, charset);
    }
    ~CharsetForOpen()
    {
        if (m_had)
            qputenv(kCharsetVariable, m_old);
        else
            qunsetenv(kCharsetVariable);
    }
    CharsetForOpen(const CharsetForOpen &) = delete;
    CharsetForOpen &operator=(const CharsetForOpen &) = delete;

private:
    bool m_had;
    QByteArray m_old;
};

MdbHandle *openMdb(const QString &path, const QByteArray &charset)
{
    const CharsetForOpen env(charset);
    return mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
}
} // namespace

struct JetFile::Handle
{
    MdbHandle *mdb = nullptr;
    ~Handle()
    {
        if (mdb)
            mdb_close(mdb);
    }
};

int JetFile::Table::column(const QString &name) const
{
    for (int i = 0; i < columns.size(); ++i)
        if (columns.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

JetFile::JetFile() = default;
JetFile::~JetFile() = default;

void JetFile::close()
{
    m_h.reset();
}

bool JetFile::open(const QString &path)
{
    close();
    m_path = path;
    m_error.clear();
    m_format.clear();
    m_codePage = 0;

    QFile file(path);
    const QFileInfo info(path);
    if (!info.exists())
        return fail(QStringLiteral("가져올 파일이 없습니다."));
    if (info.isDir())
        return fail(QStringLiteral("파일이 아니라 폴더입니다. 예전 장부 파일(.mdb)을 골라 주십시오."));
    // A device or a pipe (/dev/zero) would be read without end.
    if (!info.isFile())
        return fail(QStringLiteral("보통 파일이 아닙니다 (장치나 파이프). 예전 장부 파일(.mdb)을 골라 주십시오."));
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("파일을 읽을 수 없습니다 (다른 프로그램이 잠갔거나 읽을 권한이 없습니다): ")
                    + file.errorString());
    const QByteArray head = file.read(0x18);
    const qint64 size = file.size();
    file.close();
    if (head.size() < 0x18
        || (head.mid(4, 15) != QByteArrayLiteral("Standard Jet DB") && head.mid(4, 15) != QByteArrayLiteral("Standard ACE DB")))
        return fail(QStringLiteral("Access(Jet) 데이터베이스 파일이 아닙니다."));
    const quint32 version = quint8(head.at(0x14)) | quint32(quint8(head.at(0x15))) << 8
                            | quint32(quint8(head.at(0x16))) << 16 | quint32(quint8(head.at(0x17))) << 24;
    m_format = versionName(version);
    const qint64 pageSize = version == 0 ? 2048 : 4096;
    if (size % pageSize != 0 || size < 3 * pageSize)
        return fail(QStringLiteral("파일이 잘렸거나 손상되었습니다 (%1 형식의 페이지 크기 %2바이트로 나누어지지 않는 %3바이트).")
                        .arg(m_format)
                        .arg(pageSize)
                        .arg(size));

    // libmdb trusts the page pointers it finds, and a damaged file can make it read through a
    // null or wild pointer. A child process opens the file and describes every table first;
    // only when it got through does this process do the same. The rows are read in a child
    // too (readRows), which hands them over through a pipe.
    if (!readsInChild(path, size))
        return fail(QStringLiteral("이 %1 파일은 읽을 수 없습니다. 파일이 잘렸거나 손상되었습니다.").arg(m_format));
    return openPages(path);
}

bool JetFile::fail(const QString &why)
{
    m_error = why + QStringLiteral("\r\n") + nativePath(m_path);
    close();
    return false;
}

bool JetFile::openPages(const QString &path)
{
    // A first look for the header's code page; only then is the text's decoding known.
    MdbHandle *probe = openMdb(path, {});
    if (!probe)
        return fail(QStringLiteral("이 형식의 파일은 읽을 수 없습니다: ") + m_format);
    m_codePage = probe->f->code_page;
    const bool jet3 = probe->f->jet_version == MDB_VER_JET3;
    mdb_close(probe);
    // Jet 4 and later keep Unicode. A Jet 3 file of a Korean installation says 949; one that says
    // nothing is taken for the same.
    QByteArray charset;
    if (jet3)
        charset = m_codePage == 0 || m_codePage == 949 ? QByteArrayLiteral("cp949")
                                                        : QByteArrayLiteral("cp") + QByteArray::number(m_codePage);

    m_h = std::make_unique<Handle>();
    m_h->mdb = openMdb(path, charset);
    if (!m_h->mdb)
        return fail(QStringLiteral("이 형식의 파일은 읽을 수 없습니다: ") + m_format);
    mdb_set_date_fmt(m_h->mdb, "%Y-%m-%d");
    mdb_set_shortdate_fmt(m_h->mdb, "%Y-%m-%d");
    if (!mdb_read_catalog(m_h->mdb, MDB_TABLE))
        return fail(QStringLiteral("이 %1 파일의 표 목록을 읽을 수 없습니다. 파일이 잘렸거나 손상되었습니다.").arg(m_format));
    return true;
}

bool JetFile::readsInChild(const QString &path, qint64 size)
{
#ifdef Q_OS_UNIX
    int done[2];
    if (pipe2(done, O_CLOEXEC) != 0)
        return false;
    const pid_t child = fork();
    if (child == 0) {
        // A fault ends the child quietly, and its libmdb warnings repeat the parent's.
        for (const int s : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT})
            std::signal(s, SIG_DFL);
        ::close(done[0]);
        const int null = ::open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        JetFile jet;
        jet.m_path = path;
        if (jet.openPages(path))
            for (const QString &name : jet.tableNames())
                (void)jet.table(name);
        _exit(0); // no destructors or exit handlers of the parent's objects
    }
    ::close(done[1]);
    bool read = false;
    if (child > 0) {
        // The child's end of the pipe closes when it ends. libmdb reads tens of megabytes a
        // second, so a child still busy after this long is going round in circles.
        const int limitMs = static_cast<int>(std::min<qint64>(kChildSilenceMs + size / 1000, 3600000));
        pollfd p{done[0], POLLIN, 0};
        int ready = 0;
        while ((ready = poll(&p, 1, limitMs)) < 0 && errno == EINTR) {
        }
        if (ready <= 0)
            kill(child, SIGKILL);
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        read = ready > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    ::close(done[0]);
    return read;
#else
    Q_UNUSED(path);
    Q_UNUSED(size);
    return true;
#endif
}

QStringList JetFile::tableNames() const
{
    QStringList out;
    if (!m_h)
        return out;
    for (unsigned i = 0; i < m_h->mdb->num_catalog; ++i) {
        auto *entry = static_cast<MdbCatalogEntry *>(g_ptr_array_index(m_h->mdb->catalog, i));
        if (entry->object_type == MDB_TABLE && !mdb_is_system_table(entry))
            out << QString::fromUtf8(entry->object_name);
    }
    return out;
}

namespace {
// The table's definition with its columns; nullptr when there is none, and *found tells
// whether the catalogue names it.
MdbTableDef *readTable(MdbHandle *mdb, const QString &name, bool *found = nullptr)
{
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto *entry = static_cast<MdbCatalogEntry *>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type != MDB_TABLE || mdb_is_system_table(entry)
            || QString::fromUtf8(entry->object_name).compare(name, Qt::CaseInsensitive) != 0)
            continue;
        if (found)
            *found = true;
        MdbTableDef *t = mdb_read_table(entry);
        if (t && !mdb_read_columns(t)) {
            mdb_free_tabledef(t);
            return nullptr;
        }
        return t;
    }
    return nullptr;
}
} // namespace

JetFile::Table JetFile::table(const QString &name)
{
    Table out;
    m_error.clear();
    if (!m_h)
        return out;
    bool found = false;
    MdbTableDef *t = readTable(m_h->mdb, name, &found);
    if (!t) {
        if (found)
            m_error = QStringLiteral("표 %1을(를) 읽을 수 없습니다. 파일이 잘렸거나 손상되었습니다.").arg(name);
        return out;
    }
    out.name = QString::fromUtf8(t->name);
    out.rowCount = t->num_rows;
    for (unsigned c = 0; c < t->num_cols; ++c) {
        const auto *col = static_cast<MdbColumn *>(g_ptr_array_index(t->columns, c));
        out.columns.append({QString::fromUtf8(col->name), kindOf(col->col_type), typeName(col->col_type),
                            col->col_type == MDB_TEXT ? col->col_size : 0});
    }
    mdb_free_tabledef(t);
    return out;
}

namespace {
#ifdef Q_OS_UNIX
// In the row stream where a length would be: the table begins again (readRows' passes).
constexpr qint32 kNextPass = -2;

// The rows a reading child sends, buffered both ways. A row is each column's length (32 bits),
// bytes and whole number (64 bits); the end is a length of -1 and the child's error text.
class RowPipe
{
public:
    explicit RowPipe(int fd) : m_fd(fd) {}

    bool put(const void *data, size_t n)
    {
        const auto *p = static_cast<const char *>(data);
        if (m_buffer.size() + n > kChunk && !flush())
            return false;
        m_buffer.insert(m_buffer.end(), p, p + n);
        return true;
    }
    bool flush()
    {
        size_t done = 0;
        while (done < m_buffer.size()) {
            const ssize_t w = ::write(m_fd, m_buffer.data() + done, m_buffer.size() - done);
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0)
                return false;
            done += size_t(w);
        }
        m_buffer.clear();
        return true;
    }
    // Exactly n bytes, waiting at most kChildSilenceMs for each part; false at the end of the
    // pipe or after the silence.
    bool get(void *data, size_t n)
    {
        auto *p = static_cast<char *>(data);
        while (n) {
            if (m_at == m_buffer.size()) {
                m_buffer.resize(kChunk);
                m_at = 0;
                pollfd pf{m_fd, POLLIN, 0};
                int ready = 0;
                while ((ready = poll(&pf, 1, kChildSilenceMs)) < 0 && errno == EINTR) {
                }
                ssize_t r = -1;
                if (ready > 0)
                    while ((r = ::read(m_fd, m_buffer.data(), kChunk)) < 0 && errno == EINTR) {
                    }
                if (r <= 0) {
                    m_buffer.clear();
                    return false;
                }
                m_buffer.resize(size_t(r));
            }
            const size_t take = std::min(n, m_buffer.size() - m_at);
            std::memcpy(p, m_buffer.data() + m_at, take);
            m_at += take;
            p += take;
            n -= take;
        }
        return true;
    }

private:
    static constexpr size_t kChunk = 1 << 16;
    int m_fd;
    std::vector<char> m_buffer;
    size_t m_at = 0;
};
#endif
} // namespace

bool JetFile::readRows(const Table &table, const QList<int> &columns, const std::function<bool(const Row &)> &row,
                       int passes)
{
#ifdef Q_OS_UNIX
    // libmdb may still fault on a damaged data page: the rows are read by a child, and a child
    // that dies takes only itself down. Each row is read once.
    m_error.clear();
    if (!m_h)
        return false;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        m_error = QStringLiteral("표를 읽을 수 없습니다: ") + table.name;
        return false;
    }
    const pid_t child = fork();
    if (child == 0) {
        for (const int s : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGPIPE})
            std::signal(s, SIG_DFL);
        ::close(fds[0]);
        const int null = ::open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        RowPipe out(fds[1]);
        const qsizetype n = columns.size();
        bool sent = true;
        for (int pass = 0; sent && pass < passes; ++pass) {
            const qint32 nextPass = kNextPass;
            sent = (pass == 0 || out.put(&nextPass, sizeof nextPass)) && readRowsHere(table, columns, [&](const Row &r) {
                for (qsizetype i = 0; i < n; ++i) {
                    const qint32 len = r.m_lengths[i];
                    if (!out.put(&len, sizeof len) || !out.put(r.m_values[i], size_t(len))
                        || !out.put(&r.m_integers[i], sizeof(qint64)))
                        return false;
                }
                return true;
            });
        }
        const QByteArray error = m_error.toUtf8();
        const qint32 end = -1;
        const qint32 errorLength = sent ? 0 : qint32(error.size());
        sent = out.put(&end, sizeof end) && out.put(&errorLength, sizeof errorLength)
               && out.put(error.constData(), size_t(errorLength)) && out.flush();
        _exit(sent ? 0 : 1); // no destructors or exit handlers of the parent's objects
    }
    ::close(fds[1]);
    if (child < 0) {
        ::close(fds[0]);
        m_error = QStringLiteral("표를 읽을 수 없습니다: ") + table.name;
        return false;
    }

    RowPipe in(fds[0]);
    const qsizetype n = columns.size();
    const auto width = static_cast<size_t>(n);
    std::vector<std::vector<char>> values(width);
    std::vector<const char *> pointers(width);
    std::vector<int> lengths(width);
    std::vector<qint64> numbers(width);
    Row r;
    r.m_values = pointers.data();
    r.m_lengths = lengths.data();
    r.m_integers = numbers.data();
    enum class End { Damaged, Done, Stopped } end = End::Damaged;
    QString childError;
    for (;;) {
        qint32 len = 0;
        if (!in.get(&len, sizeof len))
            break;
        if (len == kNextPass) {
            ++r.m_pass;
            continue;
        }
        if (len < 0) { // the child's end, with its error text
            qint32 errorLength = 0;
            if (!in.get(&errorLength, sizeof errorLength) || errorLength < 0 || errorLength > (1 << 20))
                break;
            QByteArray error(errorLength, Qt::Uninitialized);
            if (!in.get(error.data(), size_t(errorLength)))
                break;
            childError = QString::fromUtf8(error);
            end = End::Done;
            break;
        }
        bool whole = true;
        for (qsizetype i = 0; i < n && whole; ++i) {
            if (i > 0 && (!in.get(&len, sizeof len) || len < 0))
                whole = false;
            else if (len > (1 << 24))
                whole = false;
            else {
                std::vector<char> &v = values[size_t(i)];
                v.resize(size_t(len) + 1);
                whole = in.get(v.data(), size_t(len)) && in.get(&numbers[size_t(i)], sizeof(qint64));
                v[size_t(len)] = 0;
                pointers[size_t(i)] = v.data();
                lengths[size_t(i)] = len;
            }
        }
        if (!whole)
            break;
        if (!row(r)) {
            end = End::Stopped;
            break;
        }
    }
    if (end != End::Done)
        kill(child, SIGKILL);
    ::close(fds[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (end == End::Stopped)
        return false;
    if (end == End::Damaged || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        m_error = QStringLiteral("표 %1을(를) 읽을 수 없습니다. 파일이 잘렸거나 손상되었습니다.").arg(table.name);
        return false;
    }
    m_error = childError;
    return childError.isEmpty();
#else
    for (int pass = 0; pass < passes; ++pass)
        if (!readRowsHere(table, columns, row, pass))
            return false;
    return true;
#endif
}

bool JetFile::readRowsHere(const Table &table, const QList<int> &columns, const std::function<bool(const Row &)> &row,
                           int pass)
{
    m_error.clear();
    if (!m_h)
        return false;
    MdbTableDef *t = readTable(m_h->mdb, table.name);
    if (!t) {
        m_error = QStringLiteral("표를 읽을 수 없습니다: ") + table.name;
        return false;
    }
    // Text columns are bound and come decoded; whole numbers are read straight from the row's
    // bytes, which spares libmdb's printf and an allocation per value.
    const size_t bindSize = m_h->mdb->bind_size;
    const qsizetype n = columns.size();
    std::vector<std::vector<char>> buffers(n, std::vector<char>(bindSize + 1));
    std::vector<const char *> values(n);
    std::vector<int> lengths(n);
    std::vector<MdbColumn *> integers(n, nullptr);
    std::vector<qint64> numbers(n, 0);
    for (qsizetype i = 0; i < n; ++i) {
        values[i] = buffers[i].data();
        auto *col = static_cast<MdbColumn *>(g_ptr_array_index(t->columns, columns.at(i)));
        if (kindOf(col->col_type) == ColumnKind::Integer)
            integers[i] = col;
        else
            mdb_bind_column(t, columns.at(i) + 1, buffers[i].data(), &lengths[i]);
    }
    Row r;
    r.m_values = values.data();
    r.m_lengths = lengths.data();
    r.m_integers = numbers.data();
    r.m_pass = pass;
    qint64 count = 0;
    bool stopped = false;
    mdb_rewind_table(t);
    while (mdb_fetch_row(t)) {
        ++count;
        for (qsizetype i = 0; i < n; ++i) {
            const MdbColumn *col = integers[i];
            if (!col)
                continue;
            const int start = col->cur_value_start;
            const int len = col->cur_value_len;
            if (len == 0 || start < 0 || start + len > int(sizeof m_h->mdb->pg_buf)) {
                lengths[i] = 0; // NULL
                numbers[i] = 0;
                continue;
            }
            const unsigned char *b = m_h->mdb->pg_buf + start;
            qint64 v = 0;
            if (col->col_type == MDB_BYTE)
                v = b[0];
            else if (col->col_type == MDB_INT && len >= 2)
                v = qFromLittleEndian<qint16>(b);
            else if (len >= 4)
                v = qFromLittleEndian<qint32>(b);
            numbers[i] = v;
            lengths[i] = int(std::to_chars(buffers[i].data(), buffers[i].data() + bindSize, v).ptr - buffers[i].data());
        }
        if (!row(r)) {
            stopped = true;
            break;
        }
    }
    const qint64 expected = t->num_rows;
    mdb_free_tabledef(t);
    if (stopped)
        return false;
    if (count != expected) {
        m_error = QStringLiteral("표 %1의 행을 다 읽지 못했습니다 (%2행 중 %3행). 파일이 잘렸거나 손상되었습니다.")
                      .arg(table.name)
                      .arg(expected)
                      .arg(count);
        return false;
    }
    return true;
}
