// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>

#include "core/base/textutil.h"

class tst_TextUtil final : public QObject
{
    Q_OBJECT

private slots:
    void formatTel_data();
    void formatTel();
    void formatTelLeavesLocalPartAlone_data();
    void formatTelLeavesLocalPartAlone();
    void byteLength_data();
    void byteLength();
    void nullToStr();
};

void tst_TextUtil::formatTel_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("localPart");

    QTest::newRow("Seoul, 4-digit exchange") << "0212345678" << "02-1234-5678" << "1234-5678";
    QTest::newRow("Seoul, 3-digit exchange") << "021234567" << "02-123-4567" << "123-4567";
    QTest::newRow("3-digit area code") << "0311234567" << "031-123-4567" << "123-4567";
    QTest::newRow("mobile") << "01012345678" << "010-1234-5678" << "1234-5678";
    QTest::newRow("7 digits have no area code") << "0311234" << "031-1234" << "031-1234";
    QTest::newRow("no leading zero") << "12345678" << "1234-5678" << "1234-5678";
    QTest::newRow("punctuation stripped") << "02) 123-4567" << "02-123-4567" << "123-4567";
    QTest::newRow("already formatted") << "02-123-4567" << "02-123-4567" << "123-4567";
    QTest::newRow("already formatted mobile") << "010-1234-5678" << "010-1234-5678" << "1234-5678";
    // Six digits after 02 leave no exchange: no empty group between two dashes.
    QTest::newRow("02 and four digits") << "020123" << "02-0123" << "02-0123";
    QTest::newRow("letters mixed in") << "tel 031 123 4567" << "031-123-4567" << "123-4567";
    QTest::newRow("8 digits with 0: no area code") << "03112345" << "0311-2345" << "0311-2345";
    QTest::newRow("9 digits with 0") << "031123456" << "031-12-3456" << "12-3456";
    QTest::newRow("20 digits") << "12345678901234567890" << "1234567890123456-7890" << "1234567890123456-7890";
    QTest::newRow("20 digits from 0") << "01234567890123456789" << "012-3456789012345-6789"
                                      << "3456789012345-6789";
    QTest::newRow("full-width digits are no digits") << "０２１２３４５６７" << "" << "";
}

void tst_TextUtil::formatTel()
{
    QFETCH(QString, number);
    QFETCH(QString, result);
    QFETCH(QString, localPart);
    QString local = QStringLiteral("untouched");
    QCOMPARE(FormatTel(number, &local), result);
    if (!result.isEmpty())
        QCOMPARE(local, localPart);
    QCOMPARE(FormatTel(number), result); // no local part wanted
}

void tst_TextUtil::formatTelLeavesLocalPartAlone_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("result");
    QTest::newRow("fewer than six characters") << "12345" << "12345";
    QTest::newRow("five with dash") << "2-345" << "2-345";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("four digits left") << "ab1234" << "1234";
    QTest::newRow("no digits") << "abcdefg" << "";
    QTest::newRow("dashes only") << "------" << "";
}

void tst_TextUtil::formatTelLeavesLocalPartAlone()
{
    QFETCH(QString, number);
    QFETCH(QString, result);
    QString local = QStringLiteral("untouched");
    QCOMPARE(FormatTel(number, &local), result);
    QCOMPARE(local, QStringLiteral("untouched"));
}

void tst_TextUtil::byteLength_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("bytes");
    QTest::newRow("8 Hangul") << "가나다라마바사아" << 16;
    QTest::newRow("abc") << "abc" << 3;
    QTest::newRow("7 Hangul + 2 Latin") << "가나다라마바사ab" << 16;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("digits and punctuation") << "(주)12-3" << 8;
    QTest::newRow("Hanja") << "漢字" << 4;
    QTest::newRow("jamo") << "ㄱㅏ" << 4;
    QTest::newRow("rare syllable outside KS X 1001") << "똠" << 2;
    QTest::newRow("emoji becomes one '?'") << "a😀b" << 3;
    QTest::newRow("client name limit") << "가나다라마바사아1" << 17;
}

void tst_TextUtil::byteLength()
{
    QFETCH(QString, text);
    QFETCH(int, bytes);
    QCOMPARE(LenAnsi(text), bytes);
    QCOMPARE(ByteLen(text), bytes);
}

void tst_TextUtil::nullToStr()
{
    QCOMPARE(NullToStr(QVariant()), QString());
    QCOMPARE(NullToStr(QVariant(QMetaType(QMetaType::QString))), QString());
    QCOMPARE(NullToStr(QVariant(QMetaType(QMetaType::LongLong))), QString());
    QCOMPARE(NullToStr(QVariant(qint64(15000))), QStringLiteral("15000"));
    QCOMPARE(NullToStr(QVariant(QStringLiteral("가전"))), QStringLiteral("가전"));
    QCOMPARE(NullToStr(QVariant(QString())), QString());
}

QTEST_APPLESS_MAIN(tst_TextUtil)
#include "tst_textutil.moc"
