// SPDX-License-Identifier: GPL-3.0-or-later
#include "voucherchanges.h"

#include <QSqlQuery>
#include <QThread>

#include "database.h"

VoucherChanges::VoucherChanges(Database &db, QObject *parent) : QObject(parent), m_db(db)
{
    m_check.setInterval(CheckInterval);
    connect(&m_check, &QTimer::timeout, this, &VoucherChanges::check);
}

VoucherChanges::~VoucherChanges()
{
    m_db.dropOnReconnect(this);
    disconnect(m_connection);
}

bool VoucherChanges::listen()
{
    disconnect(m_connection);
    m_channel.clear();
    const QString sql = m_db.dialect().changeChannelSql();
    if (sql.isEmpty() || !m_db.isOpen())
        return false;
    Database::Result r = m_db.exec(SqlStatement(sql));
    if (!r.ok() || !r.query.next() || r.query.isNull(0))
        return false;
    const QString channel = r.query.value(0).toString();
    r.query.finish();
    QSqlDriver *driver = m_db.connection().driver();
    // The driver forgets its channels when the connection closes; a reopened ledger listens anew.
    if (!driver->subscribedToNotifications().contains(channel) && !driver->subscribeToNotification(channel))
        return false;
    m_channel = channel;
    m_connection = connect(driver, &QSqlDriver::notification, this, &VoucherChanges::received);
    // A connection opened again after it was lost listens on nothing; the hook runs before the
    // statement that found it lost.
    m_db.setOnReconnect(this, [this] {
        if (listen())
            emit reconnected();
    });
    if (!m_check.isActive())
        m_check.start();
    return true;
}

void VoucherChanges::check()
{
    if (m_db.path().isEmpty()) {
        m_check.stop(); // closed on purpose: nothing to keep
        return;
    }
    const bool wasLost = m_db.isLost();
    // A question box or a modal window may stand in the middle of reading a result the driver
    // streams, which a statement of ours would cut short: only a connection known to be gone
    // (which streams nothing) is touched then.
    if (!wasLost && QThread::currentThread()->loopLevel() > 1)
        return;
    const SqlStatement probe(QStringLiteral("SELECT 1"));
    Database::Result r = m_db.exec(probe);
    // The question itself found the loss: the connection is opened again at once.
    if (!r.ok() && !wasLost && m_db.isLost())
        r = m_db.exec(probe);
    r.query.finish();
    // Open again, but the channel was refused then: listened on once more.
    if (r.ok() && m_channel.isEmpty() && listen())
        emit reconnected();
    m_check.setInterval(r.ok() ? CheckInterval : qMin(m_check.interval() * 2, MaxCheckInterval));
}

bool VoucherChanges::parse(const QString &payload, Op *op, qint64 *totalId)
{
    const qsizetype blank = payload.indexOf(QLatin1Char(' '));
    if (blank < 0)
        return false;
    const QStringView word = QStringView(payload).left(blank);
    if (word == QLatin1String("INSERT"))
        *op = Op::Insert;
    else if (word == QLatin1String("UPDATE"))
        *op = Op::Update;
    else if (word == QLatin1String("DELETE"))
        *op = Op::Delete;
    else
        return false;
    bool ok = false;
    *totalId = QStringView(payload).mid(blank + 1).toLongLong(&ok);
    return ok && *totalId > 0;
}

void VoucherChanges::received(const QString &channel, QSqlDriver::NotificationSource source, const QVariant &payload)
{
    if (channel != m_channel || source == QSqlDriver::SelfSource)
        return;
    Op op = Op::Update;
    qint64 id = 0;
    const QString text = payload.toString();
    if (parse(text, &op, &id))
        emit voucherChanged(id, op);
    else if (const QStringList words = text.split(QLatin1Char(' ')); words.size() == 3 && words.front() == QLatin1String("ACCOUNT"))
        emit accountChanged(words.at(1).toInt(), words.at(2).toLongLong());
}
