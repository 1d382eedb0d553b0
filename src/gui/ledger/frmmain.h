// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>

#include <QDate>
#include <QRect>
#include <QStringList>
#include <QWidget>

#include "core/base/clientcode.h"
#include "core/callerid/calleriddesk.h"
#include "core/ledger/ledger.h"
#include "core/ledger/ledgerfilter.h"
#include "core/ledger/ledgermodel.h"
#include "core/ledger/totalsmodel.h"
#include "core/shell/startupsequence.h"
#include "gui/callerid/frmtelvoxoptions.h"
#include "safetycommands.h"

class AppSettings;
class Database;
class UserPrompt;
class QMenu;
class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QToolButton;
class LedgerEntry;
class LedgerGrid;
class LiveLedger;
class VoucherLookups;
class QPlainTextEdit;
class QHBoxLayout;
class QVBoxLayout;
class FrmTelvoxList;
class FrmTelvoxStanbyList;
class AccountChanges;
struct AccountClient;

// The ledger window: the filter strip, the voucher grid, its totals and the client panels.
// It is the view of the opening and shows the state of its LedgerFilter.
class frmMain final : public QWidget,
                      public StartupSequence::View,
                      public TelvoxHost,
                      public CallerIdDesk::View,
                      public SafetyCommandHost
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmMain)

public:
    // lookups: the type-ahead lookups of the voucher cells; null uses the registers' own
    // search windows (tests pass scripted ones).
    frmMain(AppSettings &settings, Database &db, UserPrompt &prompt, QWidget *parent = nullptr,
            VoucherLookups *lookups = nullptr);
    ~frmMain() override;

    // The whole opening (StartupSequence with this window as its view): settings, database,
    // login and the first query. False when the login ended the program.
    bool Form_Load();

    // The window's steps of the opening, in their order.
    void setCaption() override;
    void ledgerOpened(const AppPaths &paths) override;
    bool runLogin() override;
    void applyLayout() override;
    void prepareControls() override;
    void FillGroupCombo() override;
    void showNotice() override;
    void InitListGrid() override;
    void showPeriod(const QDate &from, const QDate &to) override;
    void DispList() override;

    // Every command of the window runs through here: the open cell edit ends first, exactly as
    // leaving the cell would (its question, its write or its refusal), then the command runs.
    // Nothing runs while a commit is still asking its question.
    void runCommand(const std::function<void()> &command);
    // A button or check box of the window whose click is such a command.
    void connectCommand(QAbstractButton *button, std::function<void()> command);
    // A 도구 menu entry; like the buttons it first finishes an open cell edit.
    QAction *addToolCommand(const QString &text, std::function<void()> command) override;
    LedgerFilter &filter() { return m_filter; }

    const AppPaths &paths() const override { return m_paths; }
    LedgerModel &model() override { return m_model; }
    Ledger &ledger() { return *m_ledger; }
    LedgerEntry &entry() { return *m_entry; }
    // Other PCs' changes of the shown vouchers; null before the ledger is opened.
    LiveLedger *live() override { return m_live.get(); }
    // Called by the client edit window after a save: the panel of that side shows the client.
    void SyncUpdateClient(ClientCode nCode, BusiMode nBusiMode, bool bAdd);
    QString DefaultDate() const { return m_ledger->DefaultDate(); }

    static QString caption();
    static constexpr int MinimumTwips = 5000;

    // Caller ID, handled by the desk (the window only shows it). The ports open only while
    // "발신번호사용" is ticked.
    CallerIdDesk &callerId() { return *m_callerId; }
    void OpenTelvox() override;
    void CloseTelvox() override;
    void telvox_Received(int index, const CallerReport &report);
    bool InputFromTelvox(const QString &Telno);
    void PushWaitingCall(const QString &number);
    QString PopWaitingCall();
    // The caller-ID windows, made on first use.
    FrmTelvoxStanbyList &stanbyList();
    FrmTelvoxList &telvoxList();
    void showTelvoxOptions();

    // One day back (-1) or forward (+1) in date box i, then the chain rule.
    void udDateCng_Change(int index, int days);
    void btnMonthView_Click(int index);
    // The layout file's folder; empty means the user's FormIni folder.
    void setFormIniDir(const QString &dir) { m_formIniDir = dir; }
    // Freezes "today" (the default period, the entry row's dates, the date rules) before
    // Form_Load; tests use it.
    void setToday(const QDate &today)
    {
        m_today = today;
        m_filter.setToday(today);
    }
    QDate today() const override { return m_today.isValid() ? m_today : QDate::currentDate(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;

private:
    // Controls, named as the rest of the program knows them (and as their objectName, by which
    // tests and screen readers find them).
    QWidget *pnlTop = nullptr;
    QLineEdit *spDate[2] = {};
    QWidget *udDateCng[2] = {};
    QToolButton *btnMonthView[2] = {};
    QCheckBox *chkChain = nullptr;
    QComboBox *cmbGroup = nullptr;
    QLineEdit *txtPName = nullptr;
    QComboBox *cmbGu = nullptr;
    QLineEdit *txtCName = nullptr;
    QCheckBox *chkNoSale = nullptr;
    QPushButton *btnRefresh = nullptr;
    QPushButton *btnGraph = nullptr;
    QPushButton *btnPasswd = nullptr;
    QPushButton *btnPrint = nullptr;
    QPushButton *btnTools = nullptr;
    QMenu *mnuTools = nullptr;
    QPushButton *btnExit = nullptr;
    LedgerGrid *spList = nullptr;
    QTableView *spTotal = nullptr;
    QWidget *pnlBottom = nullptr;
    QLabel *pnlinfo[6] = {};
    QLabel *pnlinfo2[6] = {};
    QPushButton *btnClientEdit[2] = {};
    // Beside each panel's 수정: the client's payments (지급 / 입금) and their ledger (원장).
    QPushButton *btnPayment[2] = {};
    QPushButton *btnClientLedger[2] = {};
    QLabel *pnlBalance[2] = {}; // the shown client's balance today
    QLabel *pnlinfoSales = nullptr;
    QLineEdit *txtCurClient[2] = {};
    QCheckBox *chkUseTelvox = nullptr;
    QLineEdit *txtGetTelvox = nullptr;
    QToolButton *btnTelvoxList = nullptr;
    QPlainTextEdit *txtTelvoxList = nullptr;


    // The window's strips, top to bottom.
    void buildControls();
    void buildPeriodStrip(QVBoxLayout *top);
    void buildSearchStrip(QVBoxLayout *top);
    void buildLedgerGrid();
    void buildTotals();
    void buildClientStrip();
    QWidget *buildClientPanel(int side, QLabel *values[6]);
    // The money side of the client panels: the balance shown and the windows opened on the
    // panel's client (side 0 supplier, 1 customer).
    void showBalance(int side);
    void showBalances();
    void btnPayment_Click(int side);
    void btnClientLedger_Click(int side);
    // The active grid row's customer, else its supplier.
    AccountClient activeClient() const;
    // Shows the filter's state in the strip; the boxes' own signals are held meanwhile, as
    // this is no user's change.
    void showFilter();
    void spDate_Commit(int index);
    void spList_ColWidthChange(int column, int oldSize, int newSize);
    void saveChangedWidths();
    void layoutControls();
    void fitColumns();
    void onFirstActivate();
    void F3();
    void showGridMenu(const QPoint &globalPos);
    // Buttons whose windows arrive later; their clicks are commands already.
    void btnGraph_Click();
    void btnPasswd_Click();
    void btnPrint_Click();

    // Start-up steps whose windows arrive later; each keeps its place in the order.
    void LoadFormIni();
    void prepareCallerId();
    // Ticks the caller-ID check box from the stored use switch (a step of the login).
    void ApplyTelvoxUse();
    void buildCallerIdControls(QHBoxLayout *row);
    void addCallerIdCommands(); // the 도구 menu entries and the tab order
    void chkUseTelvox_Click();
    void showNumber(const QString &number) override;
    void showCaller(const ClientRecord *caller) override;
    void showProducts(const QString &text) override;
    void addLogLine(const QString &line) override;
    void addHistoryLine(const QString &line) override;
    void useWaitingList() override;
    void btnTelvoxList_Click();
    void SaveFormIni();

    AppSettings &m_settings;
    Database &m_db;
    UserPrompt &m_prompt;
    AppPaths m_paths;
    LedgerFilter m_filter;
    LedgerModel m_model;
    TotalsModel m_totalsModel;
    std::unique_ptr<Ledger> m_ledger;
    VoucherLookups *m_lookups;
    std::unique_ptr<VoucherLookups> m_ownLookups;
    std::unique_ptr<LedgerEntry> m_entry;
    std::unique_ptr<LiveLedger> m_live;
    bool FirstActivate = true;
    QRect m_loadRect; // position and size in twips right after the saved layout was applied
    bool m_applyingLayout = false;
    bool m_headerPressed = false; // a column border may be being dragged
    QList<int> m_changedWidths;   // columns resized since the header was pressed
    QDate m_today;
    QString m_formIniDir;
    std::unique_ptr<CallerIdDesk> m_callerId;
    AccountChanges *m_accountChanges = nullptr;
    QWidget *fraClient[2] = {};
    FrmTelvoxStanbyList *m_stanbyList = nullptr;
    FrmTelvoxList *m_telvoxList = nullptr;
};
