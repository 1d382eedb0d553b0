// SPDX-License-Identifier: GPL-3.0-or-later
#include "powerlossvfs.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

struct PowerLossVfs::Node
{
    struct Op
    {
        qint64 offset = 0;
        QByteArray data;
        qint64 truncateTo = -1; // a truncate instead of a write
    };
    QByteArray synced;
    std::vector<Op> pending;

    static void apply(QByteArray &content, const Op &op)
    {
        if (op.truncateTo >= 0) {
            content.truncate(op.truncateTo);
            return;
        }
        const qint64 end = op.offset + op.data.size();
        if (content.size() < end)
            content.resize(end, '\0');
        std::memcpy(content.data() + op.offset, op.data.constData(), static_cast<size_t>(op.data.size()));
    }
    QByteArray current() const
    {
        QByteArray c = synced;
        for (const Op &op : pending)
            apply(c, op);
        return c;
    }
};

namespace {

PowerLossVfs *g_model = nullptr;
sqlite3_vfs *g_real = nullptr;
sqlite3_vfs g_vfs;
sqlite3_io_methods g_io;

struct ShimFile
{
    sqlite3_file base;
    sqlite3_file *real;
    std::shared_ptr<PowerLossVfs::Node> *node; // null for files outside the folder
    bool syncFolderOnSync;
};

ShimFile *shim(sqlite3_file *f)
{
    return reinterpret_cast<ShimFile *>(f);
}

void before(const ShimFile *s)
{
    if (s->node && g_model->beforeOperation)
        g_model->beforeOperation();
}

int fClose(sqlite3_file *f)
{
    ShimFile *s = shim(f);
    const int rc = s->real->pMethods->xClose(s->real);
    delete s->node;
    s->node = nullptr;
    return rc;
}

int fRead(sqlite3_file *f, void *buf, int amount, sqlite3_int64 offset)
{
    return shim(f)->real->pMethods->xRead(shim(f)->real, buf, amount, offset);
}

int fWrite(sqlite3_file *f, const void *buf, int amount, sqlite3_int64 offset)
{
    ShimFile *s = shim(f);
    before(s);
    const int rc = s->real->pMethods->xWrite(s->real, buf, amount, offset);
    if (rc == SQLITE_OK && s->node)
        (*s->node)->pending.push_back({offset, QByteArray(static_cast<const char *>(buf), amount), -1});
    return rc;
}

int fTruncate(sqlite3_file *f, sqlite3_int64 size)
{
    ShimFile *s = shim(f);
    before(s);
    const int rc = s->real->pMethods->xTruncate(s->real, size);
    if (rc == SQLITE_OK && s->node)
        (*s->node)->pending.push_back({0, {}, size});
    return rc;
}

int fSync(sqlite3_file *f, int flags)
{
    ShimFile *s = shim(f);
    before(s);
    // The model is the disk here; a real sync of a file under test would only cost time.
    const int rc = s->node ? SQLITE_OK : s->real->pMethods->xSync(s->real, flags);
    if (rc == SQLITE_OK && s->node) {
        PowerLossVfs::Node &n = **s->node;
        n.synced = n.current();
        n.pending.clear();
        // The unix VFS syncs the folder on the first sync of a journal it created.
        if (s->syncFolderOnSync) {
            g_model->syncFolder();
            s->syncFolderOnSync = false;
        }
    }
    return rc;
}

int fFileSize(sqlite3_file *f, sqlite3_int64 *size)
{
    return shim(f)->real->pMethods->xFileSize(shim(f)->real, size);
}
int fLock(sqlite3_file *f, int level)
{
    return shim(f)->real->pMethods->xLock(shim(f)->real, level);
}
int fUnlock(sqlite3_file *f, int level)
{
    return shim(f)->real->pMethods->xUnlock(shim(f)->real, level);
}
int fCheckReservedLock(sqlite3_file *f, int *out)
{
    return shim(f)->real->pMethods->xCheckReservedLock(shim(f)->real, out);
}
int fFileControl(sqlite3_file *f, int op, void *arg)
{
    return shim(f)->real->pMethods->xFileControl(shim(f)->real, op, arg);
}
int fSectorSize(sqlite3_file *f)
{
    return shim(f)->real->pMethods->xSectorSize(shim(f)->real);
}
int fDeviceCharacteristics(sqlite3_file *f)
{
    return shim(f)->real->pMethods->xDeviceCharacteristics(shim(f)->real);
}

int vOpen(sqlite3_vfs *, const char *name, sqlite3_file *f, int flags, int *outFlags)
{
    ShimFile *s = shim(f);
    s->real = reinterpret_cast<sqlite3_file *>(s + 1);
    s->node = nullptr;
    s->syncFolderOnSync = false;
    const QString path = name ? QString::fromUtf8(name) : QString();
    const bool covered = name && g_model->covers(path);
    const bool created = covered && (flags & SQLITE_OPEN_CREATE) && !QFileInfo::exists(path);
    const int rc = g_real->xOpen(g_real, name, s->real, flags, outFlags);
    if (rc != SQLITE_OK) {
        f->pMethods = nullptr;
        return rc;
    }
    if (covered) {
        s->node = new std::shared_ptr<PowerLossVfs::Node>(g_model->opened(path, created));
        s->syncFolderOnSync = created
                              && (flags & (SQLITE_OPEN_MAIN_JOURNAL | SQLITE_OPEN_SUPER_JOURNAL | SQLITE_OPEN_WAL));
    }
    f->pMethods = &g_io;
    return SQLITE_OK;
}

int vDelete(sqlite3_vfs *, const char *name, int syncDir)
{
    const QString path = QString::fromUtf8(name);
    const bool covered = g_model->covers(path);
    if (covered && g_model->beforeOperation)
        g_model->beforeOperation();
    const int rc = g_real->xDelete(g_real, name, covered ? 0 : syncDir);
    if (rc == SQLITE_OK && covered)
        g_model->deleted(path, syncDir != 0);
    return rc;
}

int vAccess(sqlite3_vfs *, const char *name, int flags, int *out)
{
    return g_real->xAccess(g_real, name, flags, out);
}
int vFullPathname(sqlite3_vfs *, const char *name, int n, char *out)
{
    return g_real->xFullPathname(g_real, name, n, out);
}
void *vDlOpen(sqlite3_vfs *, const char *name)
{
    return g_real->xDlOpen(g_real, name);
}
void vDlError(sqlite3_vfs *, int n, char *out)
{
    g_real->xDlError(g_real, n, out);
}
void (*vDlSym(sqlite3_vfs *, void *handle, const char *symbol))(void)
{
    return g_real->xDlSym(g_real, handle, symbol);
}
void vDlClose(sqlite3_vfs *, void *handle)
{
    g_real->xDlClose(g_real, handle);
}
int vRandomness(sqlite3_vfs *, int n, char *out)
{
    return g_real->xRandomness(g_real, n, out);
}
int vSleep(sqlite3_vfs *, int us)
{
    return g_real->xSleep(g_real, us);
}
int vCurrentTime(sqlite3_vfs *, double *t)
{
    return g_real->xCurrentTime(g_real, t);
}
int vGetLastError(sqlite3_vfs *, int n, char *out)
{
    return g_real->xGetLastError(g_real, n, out);
}
int vCurrentTimeInt64(sqlite3_vfs *, sqlite3_int64 *t)
{
    return g_real->xCurrentTimeInt64(g_real, t);
}

} // namespace

PowerLossVfs::PowerLossVfs(const QString &folder) : m_folder(QFileInfo(folder).absoluteFilePath())
{
    Q_ASSERT(!g_model);
    g_model = this;
    g_real = sqlite3_vfs_find(nullptr);
    // Version 1 file methods: no memory map and no shared memory, so every write is seen here.
    g_io = sqlite3_io_methods{1,     fClose,        fRead,    fWrite,      fTruncate,
                              fSync, fFileSize,     fLock,    fUnlock,     fCheckReservedLock,
                              fFileControl, fSectorSize, fDeviceCharacteristics,
                              nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
    g_vfs = sqlite3_vfs{};
    g_vfs.iVersion = 2;
    g_vfs.szOsFile = static_cast<int>(sizeof(ShimFile)) + g_real->szOsFile;
    g_vfs.mxPathname = g_real->mxPathname;
    g_vfs.zName = "solbitsem-powerloss";
    g_vfs.xOpen = vOpen;
    g_vfs.xDelete = vDelete;
    g_vfs.xAccess = vAccess;
    g_vfs.xFullPathname = vFullPathname;
    g_vfs.xDlOpen = vDlOpen;
    g_vfs.xDlError = vDlError;
    g_vfs.xDlSym = vDlSym;
    g_vfs.xDlClose = vDlClose;
    g_vfs.xRandomness = vRandomness;
    g_vfs.xSleep = vSleep;
    g_vfs.xCurrentTime = vCurrentTime;
    g_vfs.xGetLastError = vGetLastError;
    g_vfs.xCurrentTimeInt64 = vCurrentTimeInt64;
    sqlite3_vfs_register(&g_vfs, 1);
}

PowerLossVfs::~PowerLossVfs()
{
    sqlite3_vfs_unregister(&g_vfs);
    sqlite3_vfs_register(g_real, 1);
    g_model = nullptr;
}

bool PowerLossVfs::covers(const QString &path) const
{
    return path.startsWith(m_folder + QLatin1Char('/'));
}

std::shared_ptr<PowerLossVfs::Node> PowerLossVfs::opened(const QString &path, bool create)
{
    Entry &e = m_entries[path];
    if (create) {
        e.now = std::make_shared<Node>();
    } else if (!e.now) {
        // A file that was there before: on the disk as it is.
        auto n = std::make_shared<Node>();
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            n->synced = file.readAll();
        e.now = n;
        if (!e.durable)
            e.durable = n;
    }
    return e.now;
}

void PowerLossVfs::deleted(const QString &path, bool syncFolder)
{
    m_entries[path].now.reset();
    if (syncFolder)
        this->syncFolder();
}

void PowerLossVfs::syncFolder()
{
    for (auto &[path, e] : m_entries)
        e.durable = e.now;
}

PowerLossVfs::Image PowerLossVfs::crashImage(QRandomGenerator &rng) const
{
    Image image;
    for (const auto &[path, e] : m_entries) {
        // A name whose creation or deletion the folder has not synced may be either way.
        const std::shared_ptr<Node> &n = (e.durable != e.now && rng.bounded(2) == 0) ? e.durable : e.now;
        if (!n) {
            image[path] = std::nullopt;
            continue;
        }
        // Any of the unsynced writes may have reached the disk, in any combination.
        QByteArray content = n->synced;
        for (const Node::Op &op : n->pending)
            if (rng.bounded(2) == 0)
                Node::apply(content, op);
        image[path] = content;
    }
    return image;
}

bool PowerLossVfs::materialise(const Image &image, const QString &folder)
{
    for (const auto &[path, content] : image) {
        if (!content)
            continue;
        QFile out(QDir(folder).filePath(QFileInfo(path).fileName()));
        if (!out.open(QIODevice::WriteOnly) || out.write(*content) != content->size())
            return false;
    }
    return true;
}
