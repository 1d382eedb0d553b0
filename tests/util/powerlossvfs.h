// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include <QByteArray>
#include <QRandomGenerator>
#include <QString>

// A VFS over the default one that keeps, for the files of one folder, what a power cut could
// still take away: every write not yet synced, and every file created or deleted while the
// folder was not synced since. The real files are written as usual; crashImage() says what a
// disk could hold after a cut at this moment, choosing among the pending states at random.
// The unix VFS's own folder syncs are mirrored: on the first sync of a new journal and on a
// delete asked to sync its folder (what synchronous=EXTRA asks for).
class PowerLossVfs final
{
public:
    // Files as a cut leaves them: nullopt = the file is gone.
    using Image = std::map<QString, std::optional<QByteArray>>;

    // Registers itself as the default VFS for files under folder (whose files at this moment
    // count as on the disk); unregistered when destroyed.
    explicit PowerLossVfs(const QString &folder);
    ~PowerLossVfs();
    PowerLossVfs(const PowerLossVfs &) = delete;
    PowerLossVfs &operator=(const PowerLossVfs &) = delete;

    // Called before every write, truncate, sync and delete under the folder: the moments a
    // cut can fall on.
    std::function<void()> beforeOperation;

    Image crashImage(QRandomGenerator &rng) const;
    // Writes an image into folder (an empty folder of its own).
    static bool materialise(const Image &image, const QString &folder);

    // The machinery the C callbacks use.
    struct Node; // one file's content: synced bytes and writes since
    struct Entry
    {
        std::shared_ptr<Node> durable; // what the folder holds on the disk under this name
        std::shared_ptr<Node> now;     // what it holds now
    };
    std::shared_ptr<Node> opened(const QString &path, bool create);
    void deleted(const QString &path, bool syncFolder);
    void syncFolder();
    bool covers(const QString &path) const;

private:
    QString m_folder;
    std::map<QString, Entry> m_entries;
};
