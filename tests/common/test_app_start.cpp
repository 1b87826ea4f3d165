// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up shared by both programs: the titles the display shows and Qt's
// own texts in Japanese.
#include "common/app_start.h"

#include <QApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QTemporaryDir>
#include <QTest>

class TestAppStart : public QObject {
    Q_OBJECT
private slots:
    // Missing first: a translator once installed stays for the process.
    void missingTranslationKeepsEnglish()
    {
        QTemporaryDir empty;
        QVERIFY(!common::installQtTranslation(*qApp, empty.path()));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), u"Cancel"_qs);
    }

    void startUp()
    {
        const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
        if (!QFile::exists(folder + u"/qtbase_ja.qm"_qs))
            QSKIP("Qt's Japanese translation (qt6-translations-l10n) is not installed");
        common::startApplication(*qApp, {u"Numira"_qs, u"ヌミラ"_qs,
                                         u"io.github.numirabairo.numira"_qs, u"System"_qs, 13});
        for (const char* text : {"Cancel", "&Yes", "&No"})
            QVERIFY2(QCoreApplication::translate("QPlatformTheme", text) != QLatin1String(text),
                     text);
        QVERIFY(QCoreApplication::translate("QPrintDialog", "Print") != u"Print"_qs);
        // The title is kept for the boxes; given to Qt as the display name, it
        // would be appended to every window title on the screen.
        QCOMPARE(common::applicationTitle(), u"ヌミラ"_qs);
        QCOMPARE(QGuiApplication::applicationDisplayName(), u"Numira"_qs);
    }
};

QTEST_MAIN(TestAppStart)
#include "test_app_start.moc"
