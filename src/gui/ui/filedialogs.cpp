// SPDX-License-Identifier: GPL-3.0-or-later
#include "filedialogs.h"

#include <QDateTime>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QTreeView>

namespace {

// QFileSystemModel's columns: name, size, type, date modified.
constexpr int TypeColumn = 2;
constexpr int DateColumn = 3;

class KoreanColumns final : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (!files || role != Qt::DisplayRole || (index.column() != TypeColumn && index.column() != DateColumn))
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        if (index.column() == TypeColumn)
            return koreanFileType(files->isDir(source), files->fileInfo(source).suffix());
        return files->lastModified(source).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        static const QString headers[] = {QStringLiteral("이름"), QStringLiteral("크기"), QStringLiteral("종류"),
                                          QStringLiteral("수정한 날짜")};
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < 4)
            return headers[section];
        return QIdentityProxyModel::headerData(section, orientation, role);
    }
};

QString run(QFileDialog &dialog)
{
    // Qt's own dialog, so that its columns can be shown in Korean on every desktop.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new KoreanColumns(&dialog));
    // The date column as wide as the dates it now shows.
    if (auto *details = dialog.findChild<QTreeView *>()) {
        const int date = details->fontMetrics().horizontalAdvance(QStringLiteral("0000-00-00 00:00")) + 24;
        details->header()->resizeSection(DateColumn, std::max(details->header()->sectionSize(DateColumn), date));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString koreanFileType(bool folder, const QString &suffix)
{
    if (folder)
        return QStringLiteral("폴더");
    if (suffix.isEmpty())
        return QStringLiteral("파일");
    return suffix.toUpper() + QStringLiteral(" 파일");
}

QString openFileName(QWidget *parent, const QString &title, const QString &folder, const QString &filter)
{
    QFileDialog dialog(parent, title, folder, filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    return run(dialog);
}

QString saveFileName(QWidget *parent, const QString &title, const QString &suggested, const QString &filter)
{
    QFileDialog dialog(parent, title, suggested, filter);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    return run(dialog);
}
