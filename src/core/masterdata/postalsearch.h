// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include <QString>

#include "core/data/sqlstatement.h"

class Database;
class UserPrompt;

struct PostalRow
{
    QString zipcode;
    QString sido;
    QString gugun;
    QString dong;
    QString bunji;
};

// What the caller's postal code and address boxes receive.
struct PostalPick
{
    QString zipcode;
    QString address;
};

// The postal code file (table Post), opened read-only.
class PostalSearch final
{
public:
    PostalSearch();
    ~PostalSearch();
    PostalSearch(const PostalSearch &) = delete;
    PostalSearch &operator=(const PostalSearch &) = delete;

    // False, with errorText() telling why, when the file is missing or holds no Post table.
    bool open(const QString &path);
    bool isOpen() const;
    QString errorText() const { return m_error; }

    // Hangul (a double-byte character of CP949) first searches the town (DONG), anything else
    // the postal code; the text matches anywhere, literally. Empty text: the whole table.
    static SqlStatement query(const QString &text);
    // nullopt after the query's box was shown.
    std::optional<std::vector<PostalRow>> search(const QString &text, UserPrompt &prompt) const;

    // "123456" -> "123-456"; any other length unchanged.
    static QString formatZip(const QString &zipcode);
    // SIDO GUGUN DONG, as the caller's address field receives it.
    static QString address(const PostalRow &row);
    enum class PickedBy { SingleMatch, List };
    // A search's single match gives its code as stored, a row chosen from the list gives it
    // formatted (formatZip); a listed row without a code gives nothing.
    static std::optional<PostalPick> pick(const PostalRow &row, PickedBy by);
    // The message for a postal file that cannot be used.
    static QString unavailableMessage(const QString &path, const QString &reason);

private:
    std::unique_ptr<Database> m_db;
    QString m_error;
};
