#include "numira/ui/numira0.h"

#include "common/fonts.h"
#include "numira/core/catalogue.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QListWidget>
#include <QProxyStyle>
#include <QPushButton>
#include <QGuiApplication>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>

#include <cmath>

namespace numira {

namespace {
QFont gothic(int pixels) { return common::designedFont(QStringLiteral("ＭＳ ゴシック"), pixels); }

// Tabs padded as narrowly as the window was designed with, so that the five
// page tabs fit in one row at every density; the style's own padding is
// twice as wide and pushed the last tab out of sight.
class NarrowTabStyle final : public QProxyStyle {
public:
    explicit NarrowTabStyle(int padding) : m_padding(padding) {}
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override
    {
        if (metric == PM_TabBarTabHSpace) return m_padding;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

private:
    int m_padding;
};
} // namespace

TForm3::TForm3(SharedState& state, QWidget* parent) : QDialog(parent), m_state(state)
{
    // Laid out for 120 pixels per inch and rescaled to the screen's density.
    const QScreen* screen = parent ? parent->screen() : nullptr;
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (screen) m_scale = screen->logicalDotsPerInchY() / 120.0;

    setWindowTitle(QStringLiteral("もんだいをえらんでね"));
    setModal(true);
    setFont(common::designedFont(QStringLiteral("System"), scaled(16)));
    move(scaled(81), scaled(2));
    setFixedSize(scaled(450), scaled(430));

    TabbedNotebook1 = new QTabWidget(this);
    TabbedNotebook1->setGeometry(scaled(23), scaled(12), scaled(410), scaled(365));
    TabbedNotebook1->setFont(gothic(scaled(17)));

    const QStringList pages = CataloguePages();
    for (int p = 0; p < 4; ++p) {
        auto* page = new QWidget;
        auto* list = new QListWidget(page);
        list->setGeometry(scaled(8), scaled(16), scaled(369), scaled(305));
        list->setFont(gothic(scaled(17)));
        list->setUniformItemSizes(true);
        connect(list, &QListWidget::itemDoubleClicked, this, [this] { Button1Click(); });
        ListBox[p] = list;
        TabbedNotebook1->addTab(page, pages[p]);
    }

    auto* tablePage = new QWidget;
    GroupBox1 = new QGroupBox(QStringLiteral("やるだんをクリックして×をつけてね"), tablePage);
    GroupBox1->setGeometry(scaled(8), scaled(16), scaled(369), scaled(313));
    GroupBox1->setFont(gothic(scaled(20)));
    static const char16_t* const rowNames[] = {u"１のだん", u"２のだん", u"３のだん",
                                               u"４のだん", u"５のだん", u"６のだん",
                                               u"７のだん", u"８のだん", u"９のだん"};
    static const int tops[] = {49, 98, 147, 196, 244};
    for (int k = 0; k < 9; ++k) {
        auto* box = new QCheckBox(QString::fromUtf16(rowNames[k]), GroupBox1);
        const int left = k < 5 ? 29 : 215;
        const int height = (k == 2 || k == 3 || k == 7 || k == 8) ? 20 : 21;
        box->setGeometry(scaled(left), scaled(tops[k < 5 ? k : k - 5]), scaled(119), scaled(height));
        CheckBox[k] = box;
    }
    CheckBox[9] = new QCheckBox(QStringLiteral("ぜんぶのだん"), GroupBox1);
    CheckBox[9]->setGeometry(scaled(215), scaled(244), scaled(138), scaled(21));
    CheckBox[10] = new QCheckBox(QStringLiteral("０をいれる"), tablePage);
    CheckBox[10]->setGeometry(scaled(120), scaled(304), scaled(121), scaled(17));
    CheckBox[10]->setFont(gothic(scaled(20)));
    // The last box is drawn over the group frame, as designed.
    CheckBox[10]->raise();
    TabbedNotebook1->addTab(tablePage, pages[4]);
    auto* tabStyle = new NarrowTabStyle(scaled(12));
    tabStyle->setParent(TabbedNotebook1->tabBar());
    TabbedNotebook1->tabBar()->setStyle(tabStyle);
    // Should a machine's fonts still be too wide, every tab stays in reach.
    TabbedNotebook1->setUsesScrollButtons(TabbedNotebook1->tabBar()->sizeHint().width() >
                                          TabbedNotebook1->width());

    Button1 = new QPushButton(QStringLiteral("けってい"), this);
    Button1->setGeometry(scaled(97), scaled(383), scaled(206), scaled(31));
    Button1->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });

    // Names a screen reader reads for the controls without a text of their own.
    TabbedNotebook1->setAccessibleName(QStringLiteral("もんだいのしゅるい"));
    for (int p = 0; p < 4; ++p) ListBox[p]->setAccessibleName(pages[p]);

    FormCreate();
}

int TForm3::scaled(int pixels) const { return int(std::lround(pixels * m_scale)); }

void TForm3::FormCreate()
{
    for (int p = 0; p < 4; ++p) ListBox[p]->addItems(CatalogueItems(p));
    TabbedNotebook1->setCurrentIndex(4);
    CheckBox[1]->setChecked(true);
}

void TForm3::Button1Click()
{
    Choice& choice = m_state.choice;
    const int page = TabbedNotebook1->currentIndex();
    choice.category = page;
    if (page >= 0 && page <= 3) {
        const QModelIndexList selected = ListBox[page]->selectionModel()->selectedRows();
        const int number = selected.isEmpty() ? 0 : selected.first().row();
        choice.number = number;
        m_state.store.title = ListBox[page]->item(number)->text();
    } else if (page == 4) {
        TableRowSelection& table = choice.tableRows;
        table.lowestMultiplier = CheckBox[10]->isChecked() ? 0 : 1;
        table.rows.fill(0);
        for (int k = 0; k < 9; ++k)
            if (CheckBox[k]->isChecked()) table.rows[k] = -1;
        if (CheckBox[9]->isChecked()) table.rows.fill(-1);
        m_state.store.title = u"九九"_qs;
    }
    accept();
}

} // namespace numira
