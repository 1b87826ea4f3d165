// SPDX-License-Identifier: GPL-3.0-or-later
// The designed font names resolve straight to an installed family, so that
// the font database never has to look for fallbacks of an unknown name.
#include "common/fonts.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QTest>

class TestFonts : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        common::installJapaneseFonts();
        QFont::insertSubstitutions(u"Test Face"_qs, {u"No Such Family 42"_qs, u"IPAMincho"_qs});
        QFont::insertSubstitutions(u"Test Face Without Stand-in"_qs, {u"No Such Family 42"_qs});
        // A machine that has the designed face keeps it.
        QFont::insertSubstitutions(u"DejaVu Serif"_qs, {u"IPAGothic"_qs});
    }

    void designedNamesResolveToInstalledFamilies_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("family");
        QTest::newRow("gothic") << u"ＭＳ ゴシック"_qs << u"IPAGothic"_qs;
        QTest::newRow("gothic, printed") << u"ＭＳゴシック"_qs << u"IPAGothic"_qs;
        QTest::newRow("mincho") << u"ＭＳ 明朝"_qs << u"IPAMincho"_qs;
        QTest::newRow("proportional gothic") << u"ＭＳ Ｐゴシック"_qs << u"IPAPGothic"_qs;
        QTest::newRow("window font") << u"System"_qs << u"IPAGothic"_qs;
        QTest::newRow("first stand-in missing") << u"Test Face"_qs << u"IPAMincho"_qs;
        QTest::newRow("designed face installed") << u"DejaVu Serif"_qs << u"DejaVu Serif"_qs;
        QTest::newRow("no stand-in installed")
            << u"Test Face Without Stand-in"_qs << u"Test Face Without Stand-in"_qs;
    }

    void designedNamesResolveToInstalledFamilies()
    {
        QFETCH(QString, name);
        QFETCH(QString, family);
        for (const bool bold : {false, true}) {
            const QFont font = common::designedFont(name, 17, bold);
            QCOMPARE(font.families(), QStringList{family});
            QCOMPARE(font.pixelSize(), 17);
            QCOMPARE(font.bold(), bold);
            QCOMPARE(font.hintingPreference(), QFont::PreferNoHinting);
            const QFontInfo drawn(font);
            QCOMPARE(drawn.pixelSize(), 17);
            if (QFontDatabase::families().contains(family)) QCOMPARE(drawn.family(), family);
        }
    }

    // The font configuration read on a second thread: waited for once (a
    // second wait returns at once), and the fonts are then found.
    void fontConfigurationWarmUp()
    {
        common::FontConfigWarmUp warmUp;
        warmUp.wait();
        warmUp.wait();
        QCOMPARE(QFontInfo(common::designedFont(u"ＭＳ ゴシック"_qs, 20)).family(),
                 u"IPAGothic"_qs);
    }
};

QTEST_MAIN(TestFonts)
#include "test_fonts.moc"
