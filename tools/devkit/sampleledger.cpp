// SPDX-License-Identifier: GPL-3.0-or-later
#include "sampleledger.h"

#include <random>

#include <QDate>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include "core/base/textutil.h"
#include "core/data/database.h"

using namespace Qt::Literals::StringLiterals;

namespace {

const QStringList kPlaces{u"서울"_s, u"대한"_s, u"한국"_s, u"동양"_s, u"한빛"_s, u"우리"_s, u"미래"_s,
                          u"새한"_s, u"동방"_s, u"태양"_s, u"금강"_s, u"백두"_s, u"한강"_s, u"부산"_s,
                          u"대구"_s, u"광주"_s, u"인천"_s, u"경기"_s, u"신성"_s, u"제일"_s, u"현대"_s,
                          u"중앙"_s, u"남도"_s, u"진주"_s, u"청솔"_s, u"푸른"_s, u"OK"_s, u"LK"_s};
const QStringList kTrades{u"전자"_s, u"상사"_s, u"유통"_s, u"종합"_s, u"가전"_s, u"물산"_s, u"산업"_s,
                          u"무역"_s, u"마트"_s, u"상회"_s, u"테크"_s, u"디지털"_s, u"컴퓨터"_s, u"통상"_s};
const QStringList kForms{QString(), u"(주)"_s, u"상사"_s, u"대리점"_s, u"본점"_s, u"지점"_s};
const QStringList kSurnames{u"김"_s, u"이"_s, u"박"_s, u"최"_s, u"정"_s, u"강"_s, u"조"_s, u"윤"_s,
                            u"장"_s, u"임"_s, u"한"_s, u"오"_s, u"서"_s, u"신"_s, u"권"_s, u"황"_s};
const QStringList kGiven{u"철수"_s, u"영희"_s, u"민수"_s, u"지영"_s, u"현우"_s, u"서연"_s, u"준호"_s,
                         u"은정"_s, u"성민"_s, u"혜진"_s, u"동현"_s, u"수진"_s, u"재훈"_s, u"미경"_s,
                         u"상철"_s, u"경숙"_s, u"태호"_s, u"정미"_s};
const QStringList kGroups{u"가전"_s, u"주방"_s, u"컴퓨터"_s, u"사무"_s, u"카메라"_s, u"음향"_s, u"휴대폰"_s,
                          u"영상"_s, u"부품"_s, u"기타"_s, u"생활"_s, u"조명"_s, u"공구"_s, u"완구"_s,
                          u"가구"_s, u"침구"_s, u"욕실"_s, u"문구"_s, u"식품"_s, u"의류"_s, u"PC"_s};
const QStringList kBrands{u"LG"_s, u"삼성"_s, u"대우"_s, u"한경희"_s, u"쿠쿠"_s, u"위니아"_s, u"신일"_s,
                          u"캐논"_s, u"니콘"_s, u"소니"_s, u"HP"_s, u"필립스"_s, u"테팔"_s, u"린나이"_s};
// Items with the group they are sold under.
const QList<QPair<QString, QString>> kItems{
    {u"세탁기"_s, u"가전"_s}, {u"냉장고"_s, u"가전"_s}, {u"청소기"_s, u"생활"_s}, {u"전자레인지"_s, u"주방"_s},
    {u"선풍기"_s, u"가전"_s}, {u"밥솥"_s, u"주방"_s}, {u"모니터"_s, u"컴퓨터"_s}, {u"프린터"_s, u"사무"_s},
    {u"디지털카메라"_s, u"카메라"_s}, {u"스피커"_s, u"음향"_s}, {u"휴대폰"_s, u"휴대폰"_s}, {u"TV"_s, u"영상"_s},
    {u"가습기"_s, u"생활"_s}, {u"에어컨"_s, u"가전"_s}, {u"노트북"_s, u"PC"_s}, {u"키보드"_s, u"부품"_s},
    {u"다리미"_s, u"생활"_s}, {u"믹서기"_s, u"주방"_s}, {u"스탠드"_s, u"조명"_s}, {u"전기매트"_s, u"침구"_s},
    {u"전동드릴"_s, u"공구"_s}, {u"무선조종차"_s, u"완구"_s}, {u"책상"_s, u"가구"_s}, {u"비데"_s, u"욕실"_s},
    {u"만년필"_s, u"문구"_s}, {u"커피머신"_s, u"식품"_s}, {u"작업복"_s, u"의류"_s}, {u"공유기"_s, u"기타"_s}};
const QStringList kCities{u"서울 강남구 역삼동"_s, u"서울 종로구 관철동"_s, u"경기 성남시 분당구 정자동"_s,
                          u"부산 해운대구 우동"_s, u"대구 중구 동성로"_s, u"인천 남동구 구월동"_s,
                          u"광주 서구 치평동"_s, u"대전 서구 둔산동"_s, u"경기 수원시 팔달구 인계동"_s};
const QStringList kAreas{u"02"_s, u"031"_s, u"032"_s, u"051"_s, u"053"_s, u"062"_s, u"042"_s};

class Rng
{
public:
    explicit Rng(quint32 seed) : m_gen(seed) {}
    int between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_gen); }
    double unit() { return std::uniform_real_distribution<double>(0.0, 1.0)(m_gen); }
    const QString &pick(const QStringList &l) { return l[between(0, static_cast<int>(l.size()) - 1)]; }

private:
    std::mt19937 m_gen;
};

// Cut to the client name size, counted in CP949 bytes.
QString fitBytes(QString s, int bytes)
{
    while (LenAnsi(s) > bytes)
        s.chop(1);
    return s;
}

QString tel(Rng &r)
{
    const QString area = r.pick(kAreas);
    return FormatTel(area + QString::number(r.between(200, 9999)) + QStringLiteral("%1").arg(r.between(0, 9999), 4, 10, QLatin1Char('0')));
}

QString mobile(Rng &r)
{
    static const QStringList prefixes{u"010"_s, u"011"_s, u"016"_s, u"017"_s, u"019"_s};
    return FormatTel(r.pick(prefixes) + QString::number(r.between(200, 9999)) + QStringLiteral("%1").arg(r.between(0, 9999), 4, 10, QLatin1Char('0')));
}

QString businessName(Rng &r, int n)
{
    QString s = r.pick(kPlaces) + r.pick(kTrades) + r.pick(kForms);
    if (n % 7 == 3)
        s += QString::number(n % 100);
    return fitBytes(s, 16);
}

QString customerName(Rng &r, int n)
{
    if (n % 3 == 0)
        return fitBytes(r.pick(kSurnames) + r.pick(kGiven), 16);
    return businessName(r, n);
}

} // namespace

bool writeSampleLedger(const QString &path, const SampleLedgerOptions &o, QString *errorText,
                       const std::function<void(qint64)> &progress)
{
    if (!Database::createLedger(path, errorText))
        return false;
    Database db;
    if (!db.open(path)) {
        if (errorText)
            *errorText = QStringLiteral("장부 파일을 열 수 없습니다: ") + path;
        return false;
    }
    Rng r(o.seed);
    const QDate today = o.today.isValid() ? o.today : QDate::currentDate();
    const auto fail = [&](const QSqlQuery &q) {
        if (errorText)
            *errorText = q.lastError().text();
        return false;
    };
    TransactionGuard tx(db);
    QSqlQuery q(db.connection());

    QStringList groups;
    for (int i = 0; i < o.groups && i < kGroups.size(); ++i)
        groups << kGroups[i];
    q.prepare(QStringLiteral("INSERT INTO group_name (name) VALUES (?)"));
    for (const QString &g : groups) {
        q.addBindValue(g);
        if (!q.exec())
            return fail(q);
    }

    struct Product { QString name; QString group; int cost; };
    std::vector<Product> products;
    q.prepare(QStringLiteral("INSERT INTO product (name) VALUES (?)"));
    for (int i = 0; i < o.products; ++i) {
        Product p;
        const auto &item = kItems[r.between(0, static_cast<int>(kItems.size()) - 1)];
        p.name = QStringLiteral("%1 %2 %3-%4")
                     .arg(r.pick(kBrands), item.first, QString(QChar(u'A' + r.between(0, 25))))
                     .arg(1000 + i * 7 % 9000);
        // Items of a group beyond the chosen number of groups fall into the last one.
        p.group = groups.contains(item.second) ? item.second : (groups.isEmpty() ? QString() : groups.last());
        p.cost = r.between(1, 200) * 10000;
        q.addBindValue(p.name);
        if (!q.exec())
            return fail(q);
        products.push_back(std::move(p));
    }

    std::vector<QString> supplierNames;
    std::vector<QString> customerNames;
    for (int side = 0; side < 2; ++side) {
        const int n = side == 0 ? o.suppliers : o.customers;
        q.prepare(QStringLiteral("INSERT INTO %1 (id, name, tel, phone, zipcode, address, memo) VALUES (?, ?, ?, ?, ?, ?, ?)")
                      .arg(side == 0 ? QStringLiteral("maeip") : QStringLiteral("maechul")));
        for (int i = 1; i <= n; ++i) {
            const QString name = side == 0 ? businessName(r, i) : customerName(r, i);
            q.addBindValue(i);
            q.addBindValue(name);
            q.addBindValue(r.between(0, 4) == 0 ? QString() : tel(r));
            q.addBindValue(mobile(r));
            q.addBindValue(QStringLiteral("%1-%2").arg(r.between(100, 799)).arg(r.between(0, 999), 3, 10, QLatin1Char('0')));
            q.addBindValue(QStringLiteral("%1 %2-%3").arg(r.pick(kCities)).arg(r.between(1, 999)).arg(r.between(1, 30)));
            q.addBindValue(r.between(0, 5) == 0 ? QStringLiteral("단골") : QString());
            if (!q.exec())
                return fail(q);
            (side == 0 ? supplierNames : customerNames).push_back(name);
        }
    }
    q.prepare(QStringLiteral("INSERT INTO \"user\" (userid, pass) VALUES (?, NULL)"));
    q.addBindValue(QStringLiteral("솔빛셈"));
    if (!q.exec())
        return fail(q);

    q.prepare(QStringLiteral(
        "INSERT INTO total (maeip_date, pro_code, maeip_code, maeip_name, maeip_cost, maechul_code, maechul_date, "
        "maechul_name, maechul_cost, maechul_usecost, group_name, pro_name) VALUES (?, 0, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    const QDate start = today.addYears(-3);
    const int span = static_cast<int>(start.daysTo(today));
    for (qint64 i = 0; i < o.vouchers; ++i) {
        const Product &p = products[static_cast<size_t>(r.between(0, static_cast<int>(products.size()) - 1))];
        const QDate bought = start.addDays(r.between(0, span));
        const int supplier = o.suppliers > 0 ? r.between(1, o.suppliers) : 0;
        const qint64 cost = (p.cost * r.between(90, 110) / 100) / 100 * 100;
        const bool sold = r.unit() < o.soldShare;
        q.addBindValue(bought.toString(QStringLiteral("yyyy-MM-dd")));
        q.addBindValue(supplier);
        q.addBindValue(supplier > 0 ? supplierNames[static_cast<size_t>(supplier - 1)] : QString());
        q.addBindValue(cost);
        if (sold && o.customers > 0) {
            const int customer = r.between(1, o.customers);
            QDate soldOn = bought.addDays(r.between(0, 45));
            if (soldOn > today)
                soldOn = today;
            const qint64 price = cost * r.between(105, 140) / 100 / 100 * 100;
            q.addBindValue(customer);
            q.addBindValue(soldOn.toString(QStringLiteral("yyyy-MM-dd")));
            q.addBindValue(customerNames[static_cast<size_t>(customer - 1)]);
            q.addBindValue(price);
            q.addBindValue(r.between(0, 3) == 0 ? qint64(0) : price * r.between(1, 5) / 100 / 100 * 100);
        } else {
            // Typed on the entry row, an unsold voucher keeps the entry date as its sale date.
            q.addBindValue(0);
            q.addBindValue(bought.toString(QStringLiteral("yyyy-MM-dd")));
            q.addBindValue(QString());
            q.addBindValue(0);
            q.addBindValue(0);
        }
        q.addBindValue(p.group);
        q.addBindValue(p.name);
        if (!q.exec())
            return fail(q);
        if (progress && (i + 1) % 50000 == 0)
            progress(i + 1);
    }
    q.finish();
    if (const SqlError e = tx.commit(); e.isError()) {
        if (errorText)
            *errorText = e.text;
        return false;
    }
    if (progress)
        progress(o.vouchers);
    return true;
}
