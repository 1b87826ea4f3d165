// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The real drill window, with scripted dialogs, a recording sound player, a
// seeded random source and worksheets recorded instead of printed, driven
// offscreen.

#include "bairo/ui/hint_style.h"
#include "bairo/ui/main_window.h"
#include "common/asset_locator.h"
#include "common/dialogs.h"
#include "common/fonts.h"
#include "common/random_source.h"
#include "common/worksheet_page.h"
#include "tests/support/doubles.h"
#include "tests/support/forwarding_surface.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>
#include <numeric>

// The texts of the message line that several tests look for.
inline const QString kTypeAndReturn = u"答えを入れてリターンキーを押してね"_qs;
inline const QString kRight = u"せいかいです！"_qs;
inline const QString kWrong = u"ぶ～　まちがえたよ"_qs;
inline const QString kSmallerMultiple = u"もっと小さい公倍数があります"_qs;
inline const QString kLargerDivisor = u"もっと大きい公約数があります"_qs;
inline const QString kShowAnswer = u"正解を見る"_qs;
inline const QString kNext = u"次の問題"_qs;
inline QString endMessage(int score) { return u"おしまいです。%1点です。"_qs.arg(score); }

// The font mapping and the hint style are in place before any window is
// built, as in the program.
struct JapaneseFonts {
    JapaneseFonts()
    {
        common::installJapaneseFonts();
        bairo::installHintStyle();
        QApplication::setQuitOnLastWindowClosed(false);
    }
};

struct WindowFixture : JapaneseFonts {
    explicit WindowFixture(quint64 seed = 2024, QStringList assetFolders = {ASSET_DIR},
                           common::SoundPlayer* player = nullptr,
                           common::RecordsService& records = common::nullRecords())
        : random(seed), form({dialogs, player ? *player : sound, random,
                              common::AssetLocator(std::move(assetFolders)),
                              [this](QPrinter& printer) { return pages(printer); }, records})
    {
        form.show();
    }

    template <typename T = QWidget> T* w(const char* name) const
    {
        return form.findChild<T*>(QLatin1String(name));
    }
    QLineEdit* edit(const char* name) const { return w<QLineEdit>(name); }
    QString shows(const char* name) const { return edit(name)->text(); }
    const bairo::Drill& drill() const { return form.drill(); }
    const bairo::RunState& run() const { return drill().state(); }

    void click(const char* name) const { QTest::mouseClick(w(name), Qt::LeftButton); }
    // Radio items and the tick are clicked on their box, not their text.
    void clickItem(const char* name) const
    {
        QTest::mouseClick(w(name), Qt::LeftButton, {}, QPoint(6, w(name)->height() / 2));
    }
    // Fixes the number of problems; an empty text stands for Cancel.
    void fix(const QString& typed)
    {
        if (!typed.isEmpty()) dialogs.inputs.push_back(typed);
        clickItem("fixedCountBox");
    }
    // The answer worked out from what the problem line shows.
    int answer() const
    {
        const int a = shows("firstEdit").toInt(), b = shows("secondEdit").toInt();
        return shows("kindEdit") == u"最小公倍数" ? std::lcm(a, b) : std::gcd(a, b);
    }
    void type(const QString& text)
    {
        QTest::keyClick(edit("answerEdit"), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit("answerEdit"), Qt::Key_Delete);
        QTest::keyClicks(edit("answerEdit"), text);
    }
    void pressReturn() const { QTest::keyClick(edit("answerEdit"), Qt::Key_Return); }
    void enter(int value)
    {
        type(QString::number(value));
        pressReturn();
    }
    void answerRight() { enter(answer()); }
    // A prime: neither a multiple nor a divisor of the numbers drawn.
    void answerWrong() { enter(9973); }
    int played(const QString& file) const { return int(sound.played.count(file)); }

    // Which of the three pictures is shown; empty for none.
    QString picture() const
    {
        const QPixmap shown = w<QLabel>("picture")->pixmap();
        if (shown.isNull()) return {};
        const QImage image = shown.toImage().convertToFormat(QImage::Format_RGB32);
        for (const QString& name : {u"mascot.bmp"_qs, u"maru1.bmp"_qs, u"batu1.bmp"_qs}) {
            const QImage file = QImage(QString(ASSET_DIR "/") + name);
            if (file.convertToFormat(QImage::Format_RGB32) == image) return name;
        }
        return u"?"_qs;
    }

    test_support::ScriptedDialogs dialogs;
    test_support::RecordingSoundPlayer sound;
    test_support::SeededRandomSource random;
    std::unique_ptr<test_support::RecordingSurface> recorded;
    bool failJob = false;
    // Sheets are recorded unless a test prints for real.
    common::PageSurfaceFactory pages = [this](QPrinter&) -> std::unique_ptr<common::PageSurface> {
        recorded = std::make_unique<test_support::RecordingSurface>(QSize(3400, 4800));
        if (failJob) recorded->failOnBegin();
        return std::make_unique<ForwardingSurface>(*recorded);
    };
    bairo::MainWindow form;
};
