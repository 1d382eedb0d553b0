// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include "gui/ui/combohelpers.h"
#include "gui/ui/filedialogs.h"
#include "gui/ui/formhelpers.h"
#include "scriptedprompt.h"

class tst_FormHelpers final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void keyToTab_data();
    void keyToTab();
    void skipsHiddenAndDisabled();
    void moveFocus();
    void selectAllText();
    void checkRequired_data();
    void checkRequired();
    void placeForm_data();
    void placeForm();
    void cmbShowList();
    void cmbKeyMove_data();
    void cmbKeyMove();
    void enterInOpenList();
    void cmbSetSize();
    void fileDialogSpeaksKorean();

private:
    std::unique_ptr<QWidget> m_w;
    QLineEdit *m_a = nullptr;
    QComboBox *m_combo = nullptr;
    QLineEdit *m_b = nullptr;
    QPushButton *m_button = nullptr;
};

void tst_FormHelpers::init()
{
    m_w = std::make_unique<QWidget>();
    auto *l = new QVBoxLayout(m_w.get());
    m_a = new QLineEdit(m_w.get());
    m_combo = new QComboBox(m_w.get());
    m_combo->addItems({QString(), QStringLiteral("가전"), QStringLiteral("주방"), QStringLiteral("컴퓨터")});
    m_b = new QLineEdit(m_w.get());
    m_button = new QPushButton(QStringLiteral("검색"), m_w.get());
    for (QWidget *c : {static_cast<QWidget *>(m_a), static_cast<QWidget *>(m_combo), static_cast<QWidget *>(m_b),
                       static_cast<QWidget *>(m_button)})
        l->addWidget(c);
    m_w->show();
    QApplication::setActiveWindow(m_w.get());
    QVERIFY(QTest::qWaitForWindowActive(m_w.get()));
}

void tst_FormHelpers::cleanup()
{
    m_w.reset();
}

void tst_FormHelpers::keyToTab_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("from");   // 0 a, 2 b
    QTest::addColumn<int>("to");     // 0 a, 1 combo, 2 b
    QTest::addColumn<bool>("moved");
    QTest::newRow("Enter") << int(Qt::Key_Return) << 0 << 1 << true;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << 0 << 1 << true;
    QTest::newRow("Down") << int(Qt::Key_Down) << 0 << 1 << true;
    QTest::newRow("Up") << int(Qt::Key_Up) << 2 << 1 << true;
    QTest::newRow("Left stays") << int(Qt::Key_Left) << 2 << 2 << false;
    QTest::newRow("Right stays") << int(Qt::Key_Right) << 0 << 0 << false;
    QTest::newRow("letter stays") << int(Qt::Key_A) << 0 << 0 << false;
    QTest::newRow("Tab key itself is not ours") << int(Qt::Key_Tab) << 0 << 0 << false;
}

void tst_FormHelpers::keyToTab()
{
    QFETCH(int, key);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(bool, moved);
    QWidget *controls[] = {m_a, m_combo, m_b};
    controls[from]->setFocus();
    QTRY_VERIFY(controls[from]->hasFocus());
    QCOMPARE(KeyToTab(key), moved); // the focused control
    QTRY_VERIFY(controls[to]->hasFocus());
}

void tst_FormHelpers::skipsHiddenAndDisabled()
{
    m_combo->setEnabled(false);
    m_a->setFocus();
    QVERIFY(KeyToTab(Qt::Key_Return, m_a));
    QTRY_VERIFY(m_b->hasFocus());
    m_b->hide();
    QVERIFY(KeyToTab(Qt::Key_Up, m_button));
    QTRY_VERIFY(m_a->hasFocus());
}

void tst_FormHelpers::moveFocus()
{
    m_b->setFocus();
    QVERIFY(MoveFocus(1));
    QTRY_VERIFY(m_combo->hasFocus());
    QVERIFY(MoveFocus(0));
    QTRY_VERIFY(m_b->hasFocus());
    QVERIFY(!MoveFocus(2));
    QVERIFY(!MoveFocus(-1));
    QVERIFY(m_b->hasFocus());
}

void tst_FormHelpers::selectAllText()
{
    m_a->setText(QStringLiteral("솔빛셈 장부"));
    m_a->setFocus();
    m_a->deselect();
    SelectAllText();
    QTRY_COMPARE(m_a->selectedText(), QStringLiteral("솔빛셈 장부"));
    // A masked box is selected only when it holds text.
    auto *masked = new QLineEdit(m_w.get());
    masked->setInputMask(QStringLiteral("9999-99-99"));
    masked->show();
    masked->setFocus();
    masked->setText(QStringLiteral("20040517"));
    masked->deselect();
    SelectAllText(masked);
    QTRY_COMPARE(masked->selectionLength(), masked->text().size());
    // Anything without text is left alone.
    SelectAllText(m_button);
    QTest::qWait(10);
}

void tst_FormHelpers::checkRequired_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("zeroIsEmpty");
    QTest::addColumn<bool>("empty");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << "" << "상호" << false << true << "[상호]은(는) 필수 입력 사항입니다.";
    QTest::newRow("empty, no caption") << "" << "" << false << true << "필수 입력사항을 입력하지 않았습니다.";
    QTest::newRow("0 passes") << "0" << "금액" << false << false << "";
    QTest::newRow("0 fails") << "0" << "금액" << true << true << "[금액]은(는) 필수 입력 사항입니다.";
    QTest::newRow("filled") << "가전" << "그룹" << true << false << "";
}

void tst_FormHelpers::checkRequired()
{
    QFETCH(QString, text);
    QFETCH(QString, caption);
    QFETCH(bool, zeroIsEmpty);
    QFETCH(bool, empty);
    QFETCH(QString, message);
    ScriptedPrompt prompt;
    if (empty)
        prompt.ok();
    m_b->setText(text);
    m_button->setFocus();
    QCOMPARE(CheckRequired(m_b, caption, zeroIsEmpty, prompt), empty);
    QCOMPARE(prompt.count(), empty ? 1 : 0);
    if (empty) {
        QCOMPARE(prompt.last().text, message);
        QCOMPARE(prompt.last().title, QStringLiteral("필수입력"));
        QCOMPARE(prompt.last().icon, UserPrompt::Icon::Information);
        QTRY_VERIFY(m_b->hasFocus());
    } else {
        QVERIFY(m_button->hasFocus());
    }
}

void tst_FormHelpers::placeForm_data()
{
    QTest::addColumn<int>("horizontal");
    QTest::addColumn<int>("vertical");
    QTest::addColumn<bool>("atBottom"); // the anchor near the screen's bottom: no room below
    QTest::newRow("left, below") << 0 << 0 << false;
    QTest::newRow("right, below") << 1 << 0 << false;
    QTest::newRow("centre, above") << 2 << 4 << false;
    QTest::newRow("no room below: above") << 0 << 0 << true;
}

void tst_FormHelpers::placeForm()
{
    QFETCH(int, horizontal);
    QFETCH(int, vertical);
    QFETCH(bool, atBottom);
    const QRect avail = m_w->screen()->availableGeometry();
    m_w->setGeometry(300, atBottom ? avail.bottom() - 160 : 300, 400, 150);
    QVERIFY(QTest::qWaitForWindowExposed(m_w.get()));
    QWidget popup(nullptr, Qt::Tool | Qt::FramelessWindowHint);
    popup.resize(150, 90);
    PlaceForm(&popup, m_b, horizontal, vertical);
    const QPoint o = m_b->mapToGlobal(QPoint(0, 0));
    QVERIFY(!atBottom || o.y() + m_b->height() + 90 > avail.bottom());
    int x = o.x();
    if (horizontal == 1)
        x = o.x() + m_b->width() - 150;
    else if (horizontal == 2)
        x = o.x() - (150 - m_b->width()) / 2;
    const int y = vertical == 4 || atBottom ? o.y() - 90 : o.y() + m_b->height();
    QVERIFY2(qAbs(popup.x() - x) <= 1 && qAbs(popup.y() - y) <= 1,
             qPrintable(QStringLiteral("%1,%2 vs %3,%4").arg(popup.x()).arg(popup.y()).arg(x).arg(y)));
}

void tst_FormHelpers::cmbShowList()
{
    m_a->setFocus();
    CmbShowList(); // a text box has the focus: nothing opens
    QTest::qWait(20);
    QVERIFY(!m_combo->view()->isVisible());
    m_combo->setFocus();
    CmbShowList();
    QTRY_VERIFY(m_combo->view()->isVisible());
    m_combo->hidePopup();
}

void tst_FormHelpers::cmbKeyMove_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("to"); // 0 a, 1 combo, 2 b
    QTest::newRow("Enter") << int(Qt::Key_Return) << 2;
    QTest::newRow("Right") << int(Qt::Key_Right) << 2;
    QTest::newRow("Left") << int(Qt::Key_Left) << 0;
    QTest::newRow("Down browses") << int(Qt::Key_Down) << 1;
    QTest::newRow("Up browses") << int(Qt::Key_Up) << 1;
}

void tst_FormHelpers::cmbKeyMove()
{
    QFETCH(int, key);
    QFETCH(int, to);
    CmbInstall(m_combo);
    m_combo->setFocus();
    QTRY_VERIFY(m_combo->view()->isVisible()); // the list drops on focus
    m_combo->hidePopup();
    QTRY_VERIFY(m_combo->hasFocus());
    QWidget *controls[] = {m_a, m_combo, m_b};
    QTest::keyClick(m_combo, Qt::Key(key));
    QTRY_VERIFY(controls[to]->hasFocus());
    if (m_combo->view()->isVisible())
        m_combo->hidePopup();
}

void tst_FormHelpers::enterInOpenList()
{
    CmbInstall(m_combo);
    m_combo->setFocus();
    QTRY_VERIFY(m_combo->view()->isVisible());
    QAbstractItemView *list = m_combo->view();
    list->setCurrentIndex(m_combo->model()->index(2, 0));
    QTest::keyClick(list, Qt::Key_Return);
    QTRY_VERIFY(m_b->hasFocus());
    QCOMPARE(m_combo->currentText(), QStringLiteral("주방"));
    QVERIFY(!list->isVisible());
}

void tst_FormHelpers::cmbSetSize()
{
    for (int i = 0; i < 60; ++i)
        m_combo->addItem(QStringLiteral("그룹%1").arg(i));
    CmbSetSize(m_combo, 6000, 4500); // 400 × 300 pixels at 96 DPI
    const double dpi = m_combo->logicalDpiX();
    QCOMPARE(m_combo->view()->minimumWidth(), qRound(6000.0 * dpi / 1440));
    const int row = m_combo->view()->sizeHintForRow(0);
    QCOMPARE(m_combo->maxVisibleItems(), qRound(4500.0 * m_combo->logicalDpiY() / 1440) / row);
}

void tst_FormHelpers::fileDialogSpeaksKorean()
{
    // Qt's translation has no file types ("Folder") and its dates follow the system's locale.
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("보관")));
    QFile file(dir.filePath(QStringLiteral("장부.csv")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QStringList shown;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        auto *tree = dialog ? dialog->findChild<QTreeView *>() : nullptr;
        if (!tree || tree->model()->rowCount(tree->rootIndex()) < 2)
            return;
        for (int r = 0; r < 2; ++r)
            shown << tree->model()->index(r, 2, tree->rootIndex()).data().toString()
                  << tree->model()->index(r, 3, tree->rootIndex()).data().toString().left(4);
        shown << tree->model()->headerData(2, Qt::Horizontal).toString();
        dialog->reject();
    });
    poll.start(50);
    QCOMPARE(saveFileName(nullptr, QStringLiteral("장부 저장"), dir.filePath(QStringLiteral("새.csv")), QString()), QString());
    const QString year = QString::number(QDate::currentDate().year());
    QCOMPARE(shown, (QStringList{QStringLiteral("폴더"), year, QStringLiteral("CSV 파일"), year, QStringLiteral("종류")}));
}

QTEST_MAIN(tst_FormHelpers)
#include "tst_formhelpers.moc"
