// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class AppSettings;
class Database;
class UserPrompt;

// The four paths resolved at start and fixed for the run.
struct AppPaths
{
    QString gDbPath;   // data folder
    QString gDbFile;   // main ledger file
    QString gPostFile; // postal code file
    QString gRptPath;  // report folder
};

namespace Startup {
inline QString ledgerFileName() { return QStringLiteral("panDB.db"); }
inline QString postalFileName() { return QStringLiteral("dbpost.db"); }
// A restore keeps the ledger it replaces as <name>-복원전-<yyyyMMdd-HHmmss>.<suffix> beside it,
// and brings the copy in under <ledger>-복원중 before renaming it over the ledger.
inline QString setAsideMark() { return QStringLiteral("-복원전-"); }
inline QString stagedRestorePath(const QString &ledger) { return ledger + QStringLiteral("-복원중"); }
} // namespace Startup

// The paths the settings name, with the defaults where they name nothing usable; nothing is
// shown, made or written. The command forms use this, so a run on a machine without a ledger
// leaves the settings as they were.
AppPaths ResolvePaths(AppSettings &settings, bool *dataFolderMissing = nullptr);
// Brings the old installation's ledger in as paths.gDbFile; the import itself lives above the
// shell, the window side shows its progress.
class LedgerImporter
{
public:
    struct Outcome
    {
        bool ok = false;
        bool cancelled = false;
        QString text; // the summary, or why nothing was written
    };
    virtual ~LedgerImporter() = default;
    virtual Outcome importLedger(const QString &oldLedger, const AppPaths &paths) = 0;
};

// Resolves the paths from the settings store, warns once about a vanished data folder, creates
// the report folder and writes the resolved values back.
AppPaths LoadSettings(AppSettings &settings, UserPrompt &prompt);
// First start: a missing ledger is created (with its folder) and the user told where it is.
// An existing file is never touched. False, after a box naming the folder and the reason,
// when nothing could be created.
bool EnsureLedger(const AppPaths &paths, UserPrompt &prompt);
// No ledger, but a file a restore set aside beside it (a restore cut short, or a ledger removed
// by hand): the newest is offered back, by name and date, and on Yes takes the ledger's name.
// True once it did.
bool OfferSetAsideLedger(const AppPaths &paths, UserPrompt &prompt);
// What a restore killed midway left beside the ledger: the copy it was bringing in, and a server
// restore's file of the replaced rows under its temporary name. Never a ledger.
void RemoveRestoreLeftovers(const AppPaths &paths);
// First start with an importer: asks whether to bring in the old ledger and, for that, which
// file. A failed import is reported and the question comes again; true once a ledger came in,
// false when the user chose a new empty one.
bool OfferLedgerImport(const AppPaths &paths, UserPrompt &prompt, LedgerImporter &importer,
                       const QString &question = {});
// First start: a missing postal file is copied from the one shipped with the program (beside
// the executable or in the installed data folder). An existing file is never replaced.
bool EnsurePostalFile(const AppPaths &paths);
// Opens the ledger shared; a failure leaves the database closed and the first query reports it.
bool OpenMainDB(Database &db, const AppPaths &paths);
struct LedgerLocation;
// The ledger on a server: the login (the password asked as the server needs it), and a database
// without the ledger's tables made into one after a question; with an importer, the new ledger
// is offered the old installation's ledger, imported into a temporary file and copied in. False
// leaves the database closed. A command, which makes nothing, gets a database without a ledger
// open as it is (MissingLedger::Leave) and says so itself.
enum class MissingLedger { Offer, Leave };
bool OpenServerLedger(Database &db, const LedgerLocation &location, UserPrompt &prompt,
                      const AppPaths *paths = nullptr, LedgerImporter *importer = nullptr,
                      MissingLedger missing = MissingLedger::Offer);
// The group check of every start (and of a restored copy), its boxes shown through prompt; false
// when the ledger cannot be read.
bool CheckGroupField(Database &db, UserPrompt &prompt);
// The whole start of the data side (a server ledger when the settings say so): settings, first-start ledger (offering the old one when an
// importer is given), main database.
AppPaths InitApp(AppSettings &settings, Database &db, UserPrompt &prompt, LedgerImporter *importer = nullptr);
