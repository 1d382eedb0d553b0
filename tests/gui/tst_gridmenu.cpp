// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAccessible>
#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QTimer>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "core/layout/layoutini.h"
#include "gui/ui/formini.h"
#include "gui/ui/spreadhelpers.h"
#include "scriptedprompt.h"

class tst_GridMenu final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void acceptable_data();
    void acceptable();
    void rowHeight_data();
    void rowHeight();
    void fontSize_data();
    void fontSize();
    void sameValueSavesNothing();
    void reset();
    void resetDeclined();
    void closeItemDoesNothing();
    void menuItems();

private:
    QString savedValue(const QString &key) const;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QWidget> m_window;
    QTableView *m_grid = nullptr;
    QStandardItemModel *m_model = nullptr;
};

void tst_GridMenu::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_window = std::make_unique<QWidget>();
    m_window->setObjectName(QStringLiteral("frmTest"));
    m_grid = new QTableView(m_window.get());
    m_grid->setObjectName(QStringLiteral("spList"));
    m_model = new QStandardItemModel(5, 4, m_grid);
    m_grid->setModel(m_model);
    QFont f = m_grid->font();
    f.setPointSize(9);
    m_grid->setFont(f);
    setGridRowHeight(m_grid, 12);
    m_window->show();
}

void tst_GridMenu::cleanup()
{
    m_window.reset();
    m_dir.reset();
}

QString tst_GridMenu::savedValue(const QString &key) const
{
    const LayoutFile file(FormIniPath(QStringLiteral("frmTest"), m_dir->path()));
    return file.value(LayoutIni::generalSection(QStringLiteral("spList")), key).value_or(QStringLiteral("<none>"));
}

void tst_GridMenu::acceptable_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::newRow("7") << "7" << false;
    QTest::newRow("8") << "8" << true;
    QTest::newRow("20") << "20" << true;
    QTest::newRow("21") << "21" << false;
    QTest::newRow("0") << "0" << true;
    QTest::newRow("-1") << "-1" << false;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("letters count as 0") << "abc" << true;
    QTest::newRow("leading number") << "12pt" << true;
    QTest::newRow("decimal") << "8.5" << true;
    QTest::newRow("just below") << "7.9" << false;
}

void tst_GridMenu::acceptable()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QCOMPARE(GridMenu::acceptable(text), ok);
}

void tst_GridMenu::rowHeight_data()
{
    QTest::addColumn<QString>("answers"); // separated by |, "<cancel>" for Cancel
    QTest::addColumn<int>("asked");
    QTest::addColumn<double>("height");
    QTest::addColumn<QString>("saved");
    QTest::newRow("8") << "8" << 1 << 8.0 << "8";
    QTest::newRow("20") << "20" << 1 << 20.0 << "20";
    QTest::newRow("7 and 21 asked again") << "7|21|15" << 3 << 15.0 << "15";
    QTest::newRow("-1 asked again") << "-1|16" << 2 << 16.0 << "16";
    QTest::newRow("0: design default, grid unchanged") << "0" << 1 << 12.0 << "0";
    QTest::newRow("empty changes nothing") << "" << 1 << 12.0 << "<none>";
    QTest::newRow("Cancel changes nothing") << "<cancel>" << 1 << 12.0 << "<none>";
    QTest::newRow("Cancel after a refusal") << "30|<cancel>" << 2 << 12.0 << "<none>";
    QTest::newRow("letters are 0") << "abc" << 1 << 12.0 << "abc";
}

void tst_GridMenu::rowHeight()
{
    QFETCH(QString, answers);
    QFETCH(int, asked);
    QFETCH(double, height);
    QFETCH(QString, saved);
    ScriptedPrompt prompt;
    for (const QString &a : answers.split(QLatin1Char('|')))
        prompt.input(a == QLatin1String("<cancel>") ? std::nullopt : std::optional<QString>(a));
    RunGridMenuItem(GridMenu::RowHeight, m_window.get(), m_grid, prompt, m_dir->path());
    QCOMPARE(prompt.count(), asked);
    QVERIFY(prompt.scriptDone());
    QCOMPARE(prompt.asked.first().kind, ScriptedPrompt::Kind::Input);
    QCOMPARE(prompt.asked.first().title, QStringLiteral("그리드의 줄높이 변경"));
    QCOMPARE(prompt.asked.first().text, QStringLiteral("변경할 그리드의 줄높이를 입력하세요.(입력범위: 8~20, 0:기본값)"));
    QCOMPARE(gridRowHeight(m_grid), height);
    const double dpi = m_grid->logicalDpiY();
    QCOMPARE(m_grid->verticalHeader()->defaultSectionSize(), GridUnits::pointsToPixels(height, dpi));
    QCOMPARE(m_grid->horizontalHeader()->height(), GridUnits::pointsToPixels(height + 2, dpi));
    QCOMPARE(savedValue(QStringLiteral("RowHeight")), saved);
}

void tst_GridMenu::fontSize_data()
{
    QTest::addColumn<QString>("answers");
    QTest::addColumn<double>("size");
    QTest::addColumn<QString>("saved");
    QTest::newRow("14") << "14" << 14.0 << "14";
    QTest::newRow("8") << "8" << 8.0 << "8";
    QTest::newRow("7 asked again, then 20") << "7|20" << 20.0 << "20";
    QTest::newRow("0 leaves the font") << "0" << 9.0 << "0";
    QTest::newRow("Cancel") << "<cancel>" << 9.0 << "<none>";
}

void tst_GridMenu::fontSize()
{
    QFETCH(QString, answers);
    QFETCH(double, size);
    QFETCH(QString, saved);
    ScriptedPrompt prompt;
    for (const QString &a : answers.split(QLatin1Char('|')))
        prompt.input(a == QLatin1String("<cancel>") ? std::nullopt : std::optional<QString>(a));
    RunGridMenuItem(GridMenu::FontSize, m_window.get(), m_grid, prompt, m_dir->path());
    QVERIFY(prompt.scriptDone());
    QCOMPARE(prompt.asked.first().title, QStringLiteral("그리드내 글자크기 변경"));
    QCOMPARE(prompt.asked.first().text, QStringLiteral("변경할 글자의 크기를 입력하세요.(입력범위: 8~20, 0:기본값)"));
    QCOMPARE(m_grid->font().pointSizeF(), size);
    if (size != 9.0)
        QCOMPARE(m_grid->horizontalHeader()->font().pointSizeF(), 10.0); // the header keeps 10
    QCOMPARE(savedValue(QStringLiteral("FontSize")), saved);
}

void tst_GridMenu::sameValueSavesNothing()
{
    ScriptedPrompt prompt;
    prompt.input(QStringLiteral("12"));
    RunGridMenuItem(GridMenu::RowHeight, m_window.get(), m_grid, prompt, m_dir->path());
    QCOMPARE(prompt.last().kind, ScriptedPrompt::Kind::Input);
    QCOMPARE(savedValue(QStringLiteral("RowHeight")), QStringLiteral("<none>"));
    prompt.input(QStringLiteral("9"));
    RunGridMenuItem(GridMenu::FontSize, m_window.get(), m_grid, prompt, m_dir->path());
    QCOMPARE(savedValue(QStringLiteral("FontSize")), QStringLiteral("<none>"));
    QVERIFY(!QFile::exists(FormIniPath(QStringLiteral("frmTest"), m_dir->path())));
}

void tst_GridMenu::reset()
{
    ScriptedPrompt prompt;
    prompt.input(QStringLiteral("14"));
    RunGridMenuItem(GridMenu::RowHeight, m_window.get(), m_grid, prompt, m_dir->path());
    const QString path = FormIniPath(QStringLiteral("frmTest"), m_dir->path());
    QVERIFY(QFile::exists(path));
    prompt.clear();
    prompt.yes().ok();
    RunGridMenuItem(GridMenu::Reset, m_window.get(), m_grid, prompt, m_dir->path());
    QCOMPARE(prompt.count(), 2);
    const auto &q = prompt.asked.at(0);
    QCOMPARE(q.icon, UserPrompt::Icon::Question);
    QCOMPARE(q.buttons, UserPrompt::Buttons::YesNo);
    QCOMPARE(q.defaultButton, UserPrompt::Answer::Yes);
    QVERIFY(q.title.isEmpty());
    QCOMPARE(q.lines(), QStringLiteral("해당폼의 폼의 위치 및 크기, 그리드의 각 칸의 넓이\n\n, 줄높이, 글자크기등이 모두 초기화 됩니다.\n\n초기화 하시겠습니까?"));
    const auto &done = prompt.asked.at(1);
    QCOMPARE(done.icon, UserPrompt::Icon::Information);
    QCOMPARE(done.lines(), QStringLiteral("초기화를 완료하였습니다.\n\n현재창을 닫고 다시 열어 주셔야 초기화된 형태가 제대로 보여집니다."));
    QVERIFY(!QFile::exists(path));
    QCOMPARE(gridRowHeight(m_grid), 14.0); // the open window keeps its look
}

void tst_GridMenu::resetDeclined()
{
    ScriptedPrompt prompt;
    prompt.input(QStringLiteral("14"));
    RunGridMenuItem(GridMenu::RowHeight, m_window.get(), m_grid, prompt, m_dir->path());
    prompt.clear();
    prompt.no();
    RunGridMenuItem(GridMenu::Reset, m_window.get(), m_grid, prompt, m_dir->path());
    QCOMPARE(prompt.count(), 1);
    QVERIFY(QFile::exists(FormIniPath(QStringLiteral("frmTest"), m_dir->path())));
}

void tst_GridMenu::closeItemDoesNothing()
{
    ScriptedPrompt prompt;
    prompt.strictOk = true;
    RunGridMenuItem(GridMenu::Close, m_window.get(), m_grid, prompt, m_dir->path());
    RunGridMenuItem(42, m_window.get(), m_grid, prompt, m_dir->path());
    QCOMPARE(prompt.count(), 0);
}

void tst_GridMenu::menuItems()
{
    // The menu as shown: close it with Esc and read its items.
    QStringList texts;
    QStringList readerTexts;
    QString readerName;
    int separators = 0;
    QTimer::singleShot(100, this, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu);
        // What a screen reader finds under the application: a named popup menu with its items.
        QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(menu);
        QAccessibleInterface *top = QAccessible::queryAccessibleInterface(qApp);
        const int index = top->indexOfChild(reader);
        if (reader->role() == QAccessible::PopupMenu && index >= 0 && top->child(index) == reader)
            readerName = reader->text(QAccessible::Name);
        for (int i = 0; i < reader->childCount(); ++i)
            if (!reader->child(i)->text(QAccessible::Name).isEmpty())
                readerTexts << reader->child(i)->text(QAccessible::Name);
        for (QAction *a : menu->actions()) {
            if (a->isSeparator())
                ++separators;
            else
                texts << a->text();
        }
        menu->close();
    });
    QCOMPARE(GridMenuChoice(m_window.get(), m_grid->mapToGlobal(QPoint(10, 10))), int(GridMenu::Close));
    QCOMPARE(texts, (QStringList{QStringLiteral("그리드 줄높이 변경"), QStringLiteral("글자크기        변경"),
                                 QStringLiteral("폼 및 그리드 설정 초기화"), QStringLiteral("메    뉴      닫    기")}));
    QCOMPARE(separators, 2);
    QCOMPARE(readerName, QStringLiteral("그리드 메뉴"));
    QCOMPARE(readerTexts, texts);
}

QTEST_MAIN(tst_GridMenu)
#include "tst_gridmenu.moc"
