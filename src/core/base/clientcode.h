// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <compare>

#include <QHashFunctions>
#include <QString>
#include <QVariant>
#include <QtGlobal>

// A client's code in its register (suppliers and customers are numbered apart). 0 is no client;
// a voucher without one holds 0.
class ClientCode
{
public:
    constexpr ClientCode() = default;
    constexpr explicit ClientCode(qint32 value) : m_value(value) {}

    constexpr qint32 value() const { return m_value; }
    // Codes start at 1; below that a voucher names no client.
    constexpr bool isValid() const { return m_value > 0; }

    constexpr auto operator<=>(const ClientCode &) const = default;

    // The only crossings to plain numbers: a value bound into or read from SQL, and the code as
    // a box or the command line shows it.
    QVariant toVariant() const { return QVariant(m_value); }
    // A code the ledger holds in a wider integer column (or a caller still holding it so).
    static ClientCode fromNumber(qint64 n) { return ClientCode(static_cast<qint32>(n)); }
    static ClientCode fromVariant(const QVariant &v) { return fromNumber(v.toLongLong()); }
    QString toText() const { return QString::number(m_value); }
    // Text that is no number gives 0, no client.
    static ClientCode fromText(const QString &text) { return ClientCode(text.toInt()); }

    friend size_t qHash(ClientCode c, size_t seed = 0) noexcept { return qHash(c.m_value, seed); }

private:
    qint32 m_value = 0;
};
