#include "app/mdlmain.h"
#include "history/storedgames.h"
#include "platform/colourpair.h"
#include "platform/gridview.h"
#include "settings/apppaths.h"
#include "ui/about/frmabout.h"
#include "ui/fonts.h"
#include "ui/graph/frmgraph.h"
#include "ui/graph/handedover.h"
#include "ui/graph/picturebox.h"
#include "ui/main/frminputscore.h"
#include "ui/stats/frmtargets.h"
#include "ui/stats/frmtrends.h"
#include "ui/stats/trendchart.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Mode A games whose averages run to four characters ("10.0", "33.3").
const QByteArray History = "2020/01/01 00:00:00,1,2,3,10,1,2,3,10,1,2,3,10,1,2,3,10,1,2,3,10,1\r\n"
                           "2020/01/02 00:00:00,2,1,1,10,2,1,1,10,2,1,1,10,2,1,1,10,2,1,1,10,3\r\n"
                           "2020/01/03 00:00:00,3,3,2,20,3,3,2,20,3,3,2,20,3,3,2,20,3,3,2,20,1\r\n";

// The room a widget has for its text and where the text lies, in its window's coordinates;
// for other widgets a room a little inside the widget.
std::pair<QRect, QRect> textPlace(const QWidget *widget) {
    const QPoint offset = widget->mapTo(widget->window(), QPoint());
    QRect room = widget->rect().adjusted(3, 3, -3, -3);
    QStyleOptionButton option;
    option.initFrom(widget);
    if (qobject_cast<const QCheckBox *>(widget))
        room = widget->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, widget);
    else if (qobject_cast<const QLabel *>(widget))
        room = widget->contentsRect();
    else
        return {room.translated(offset), room.translated(offset)}; // a field or button
    // An access key's "&" is not drawn.
    const QString text = widget->property("text").toString().remove(QRegularExpression("&(?!&)"));
    const int alignment = widget->property("alignment").toInt() | Qt::AlignVCenter;
    const QRect place =
        text.isEmpty() ? room : widget->fontMetrics().boundingRect(room, alignment, text);
    return {room.translated(offset), place.translated(offset)};
}

// The contrast between the colour that fills most of the area, its background, and the colour
// that stands out most from it.
double measured(const QImage &image, const QRect &area) {
    const double ratio = image.devicePixelRatio();
    const QRect pixels = QRectF(area.topLeft() * ratio, area.size() * ratio).toAlignedRect();
    QHash<QRgb, int> counts;
    QRgb background = image.pixel(pixels.topLeft());
    for (int y = pixels.top(); y <= pixels.bottom(); ++y)
        for (int x = pixels.left(); x <= pixels.right(); ++x)
            if (const QRgb colour = image.pixel(x, y); ++counts[colour] > counts[background])
                background = colour;
    double most = 1;
    for (QRgb colour : counts.keys())
        most = std::max(most, ColourPair::contrast(QColor(colour), QColor(background)));
    return most;
}

} // namespace

// Every window with wider faces, under the default, a light and a dark palette and at any
// pixel density: the texts fit, a screen reader finds a name for every control, each text and
// line stands out from what lies behind it, and the pictures are drawn at the screen's density.
class tst_Appearance : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void textsFitAndControlsAreNamed();
    void contrast_data();
    void contrast();
    void picturesAtScreenDensity();

private:
    // main (5 typed for target 1), grid (recent row 1 clicked), graph, switched (the graph with
    // every box clicked into its other state), about, link (hovered), targets, trends. Each in a
    // folder of its own.
    void withWindow(const QString &window, const std::function<void(QWidget &)> &use);
    // Each element's contrast as a share of what it needs: 4.5 for a text, 3 for a line.
    QMap<QString, double> render(const QString &window, const QString &palette);

    const FileSystemObject m_files;
    const Settings m_settings{m_files}; // the statistics windows' and the graph's, mode A
};

void tst_Appearance::initTestCase() {
    QApplication::setQuitOnLastWindowClosed(false);
    Fonts::installSubstitutes();
}

void tst_Appearance::withWindow(const QString &window, const std::function<void(QWidget &)> &use) {
    // No card draft or setting that one window leaves reaches the next.
    const QTemporaryDir folder;
    AppPaths::overrideForTests(folder.path(), QStringLiteral("Dartrail"));
    QFile file(QFile::decodeName(AppPaths::filePath("Recent_A.csv")));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(History) == History.size());
    file.close();
    if (window == "main" || window == "grid") {
        QPointer<frmInputScore> main = mdlMain::Main();
        QVERIFY(QTest::qWaitForWindowActive(main));
        auto *recent = main->findChild<GridView *>("grdRecent");
        if (window == "grid")
            QTest::mouseClick(recent->viewport(), Qt::LeftButton, {},
                              recent->visualRect(recent->model()->index(1, 1)).center());
        else
            for (Qt::Key key : {Qt::Key_5, Qt::Key_Return, Qt::Key_Return})
                QTest::keyClick(QApplication::focusWidget(), key);
        QCoreApplication::processEvents(); // the posted focus moves and grid fits
        use(*main);
        mdlMain::Shutdown();
        return;
    }
    // Series t at t + 0.5, between the grid lines; 1 and 12 left out, so that the average (12.5)
    // lies alone.
    QStringList cells(GraphData::Columns);
    for (int series = 2; series <= 21; ++series)
        cells[series] = series == 12 ? QString() : QString::number(series + 0.5);
    const HandedOver graphed = handedOver({cells, cells});
    StoredGames recent;
    recent.read(History, Mode::A);
    const std::unique_ptr<QDialog> dialog(
        window == "graph" || window == "switched"
            ? new frmGraph(graphed.games, graphed.rows, m_settings)
        : window == "targets" ? new frmTargets(recent, m_settings)
        : window == "trends"  ? new frmTrends(recent, m_settings)
                              : static_cast<QDialog *>(new frmAbout));
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    if (window == "switched") { // ALL ON/OFF first, as it switches every series box on
        QList<QCheckBox *> boxes{dialog->findChild<QCheckBox *>("chkAll")};
        boxes += dialog->findChildren<QCheckBox *>(QRegularExpression("^chk(Color|AutoScale)"));
        for (QCheckBox *box : boxes)
            QTest::mouseClick(box, Qt::LeftButton);
    }
    if (window == "link")
        QTest::mouseMove(dialog->findChild<QWidget *>("lblURL"), QPoint(4, 4));
    use(*dialog);
}

QMap<QString, double> tst_Appearance::render(const QString &window, const QString &palette) {
    QMap<QString, double> shares;
    // The style's own palette, or a light or dark desktop's as Qt derives it from a button colour.
    QApplication::setPalette(
        palette == "default"
            ? QApplication::style()->standardPalette()
            : QPalette(palette == "dark" ? QColor(53, 53, 53) : QColor(246, 245, 244)));
    withWindow(window, [&](QWidget &shown) {
        const QImage image = shown.grab().toImage();
        const double text = ColourPair::TextContrast, line = ColourPair::LineContrast;
        const auto measure = [&](const QString &name, const QWidget *in, QRect area, double need) {
            shares[name] = measured(image, area.translated(in->mapTo(&shown, QPoint()))) / need;
        };
        // Every text shown; a label without one is a colour key, a mark with a frame.
        for (const QWidget *widget : shown.findChildren<QWidget *>()) {
            const auto *key = qobject_cast<const QLabel *>(widget);
            if (!widget->isVisible() || !widget->isEnabled() ||
                !shown.rect().contains(widget->mapTo(&shown, QPoint()))) // CLOSE, never seen
                continue;
            if (!widget->property("text").toString().isEmpty())
                measure(widget->objectName(), &shown, textPlace(widget).second, text);
            else if (key && key->frameWidth())
                measure(key->objectName(), &shown, textPlace(key).first.adjusted(-3, -3, 3, 3),
                        line);
        }
        // A check box's indicator against the window around it, and a mark against the box.
        for (const QCheckBox *box : shown.findChildren<QCheckBox *>()) {
            QStyleOptionButton option;
            option.initFrom(box);
            const QRect indicator =
                box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
            const QString name = box->objectName() + (box->isChecked() ? " on" : " off");
            measure(name + " indicator", box, indicator.adjusted(-4, -2, 0, 2), line);
            if (box->isChecked())
                measure(name + " mark", box, indicator.adjusted(2, 2, -2, -2), line);
        }
        if (const auto *card = shown.findChild<QWidget *>("fraThisTime")) {
            measure("card rule", card, QRect(98, 18, 5, 5), line);
            measure("card divider", card, QRect(126, 4, 5, 8), line);
            for (const auto *grid : shown.findChildren<GridView *>()) {
                const QRect cell = grid->visualRect(grid->model()->index(1, 2));
                const QString name = grid->objectName() + (window == "grid" ? " selected" : "");
                measure(name + " cell", grid->viewport(), cell.adjusted(2, 2, -2, -2), text);
                if (window != "grid") // between cells, not inside the selection
                    measure(name + " grid line", grid->viewport(),
                            QRect(cell.right() - 1, cell.top() + 2, 4, cell.height() - 4), line);
                measure(name + " frame", grid, QRect(40, -3, 8, 5), line);
            }
        }
        for (const auto *table : shown.findChildren<QTableView *>()) {
            if (qobject_cast<const GridView *>(table))
                continue;
            const QRect cell = table->visualRect(table->model()->index(0, 0));
            measure(table->objectName() + " cell", table->viewport(), cell.adjusted(2, 2, -2, -2),
                    text);
        }
        if (const auto *chart = shown.findChild<TrendChart *>()) {
            const QPointF top = chart->place(0, 1.0) + QPointF(6, 0);
            measure("trend grid line", chart, QRect(top.toPoint() - QPoint(2, 3), QSize(5, 7)),
                    line);
            const QPointF last =
                chart->place(int(chart->points().size()) - 1, *chart->points().back().trend);
            measure("trend line", chart, QRect(last.toPoint() - QPoint(4, 6), QSize(3, 13)), line);
        }
        if (const auto *graph = qobject_cast<const frmGraph *>(&shown);
            graph && window == "graph") {
            const auto *chart = shown.findChild<QWidget *>("picGraph");
            const auto at = [&](double value, int high) {
                const QPointF point = graph->chartScale().toPixels(0.5, value, chart->size());
                return QRect(point.toPoint() - QPoint(3, high / 2), QSize(7, high));
            };
            measure("chart grid line", chart, at(5, 3), line);
            measure("series 3, pale yellow", chart, at(3.5, 7), line);
            measure("series AVG, black", chart, at(12.5, 7), line);
            measure("board rim", shown.findChild<QWidget *>("picBoard"), QRect(120, 10, 1, 11),
                    line);
        }
    });
    QApplication::setPalette(QApplication::style()->standardPalette());
    return shares;
}

void tst_Appearance::contrast_data() {
    QTest::addColumn<double>("share");
    for (const QString palette : {"default", "light", "dark"})
        for (const QString window :
             {"main", "grid", "graph", "switched", "about", "link", "targets", "trends"})
            for (const auto &[element, share] : render(window, palette).asKeyValueRange())
                QTest::newRow(qPrintable(window + ", " + palette + ": " + element)) << share;
}

void tst_Appearance::contrast() {
    QFETCH(double, share);
    QVERIFY2(share >= 1, qPrintable(QStringLiteral("%1 of the contrast needed").arg(share)));
}

void tst_Appearance::textsFitAndControlsAreNamed() {
    // A desktop without IPA Gothic falls back to wider faces. First of all tests, before the
    // faces are looked up and cached.
    const QList<std::pair<QString, QString>> faces{{u"ＭＳ ゴシック"_qs, u"DejaVu Sans Mono"_qs},
                                                   {u"ＭＳ Ｐゴシック"_qs, u"DejaVu Sans"_qs}};
    for (const auto &[face, wide] : faces) {
        QFont::removeSubstitutions(face);
        QFont::insertSubstitution(face, wide);
    }
    for (const QString window : {"main", "graph", "about", "targets", "trends"}) {
        withWindow(window, [&](QWidget &shown) {
            for (const QWidget *widget : shown.findChildren<QWidget *>()) {
                const auto [room, text] = textPlace(widget);
                QVERIFY2(!widget->isVisible() ||
                             (room.left() <= text.left() && text.right() <= room.right()),
                         qPrintable(widget->objectName()));
            }
            for (const auto *view : shown.findChildren<QTableView *>()) {
                // A grid's texts keep clear of the style's margins; other tables' fit their cells.
                const bool grid = qobject_cast<const GridView *>(view);
                if (grid)
                    QCOMPARE(QFontInfo(view->font()).family(), "DejaVu Sans Mono");
                const int room =
                    grid ? 2 + 2 * view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) : 1;
                const QAbstractItemModel *model = view->model();
                for (int row = 0; row < model->rowCount(); ++row)
                    for (int col = 0; col < model->columnCount(); ++col) {
                        const QString text = model->index(row, col).data().toString();
                        QVERIFY2(view->fontMetrics().horizontalAdvance(text) <=
                                     view->visualRect(model->index(row, col)).width() - room,
                                 qPrintable(text));
                    }
            }
            // Every control a screen reader reaches is named; values with what they are.
            static const QList<QAccessible::Role> controls{
                QAccessible::StaticText, QAccessible::EditableText, QAccessible::PushButton,
                QAccessible::CheckBox,   QAccessible::Graphic,      QAccessible::Table};
            const auto reader = [&](const char *name) {
                return QAccessible::queryAccessibleInterface(shown.findChild<QObject *>(name));
            };
            std::function<void(QAccessibleInterface *)> walk = [&](QAccessibleInterface *node) {
                QVERIFY2(node->state().invisible || !controls.contains(node->role()) ||
                             !node->text(QAccessible::Name).isEmpty(),
                         qPrintable(node->object()->objectName()));
                for (int i = 0; !node->tableInterface() && i < node->childCount(); ++i)
                    walk(node->child(i));
            };
            walk(QAccessible::queryAccessibleInterface(&shown));
            if (window == "main") {
                // The values say what they are (5 was typed for target 1); columns are named by
                // their headings, and the hidden date key at the end of the recent grid is not
                // there.
                QCOMPARE(reader("lblTotal_ThisTime")->text(QAccessible::Name), "Total 5");
                QCOMPARE(reader("lblAVG_ThisTime")->text(QAccessible::Name), "AVG 5.0");
                for (const char *grid : {"grdAVG", "grdRecent"}) {
                    QCOMPARE(reader(grid)->tableInterface()->columnCount(), 24);
                    QCOMPARE(reader(grid)->tableInterface()->columnDescription(21), "BULL");
                }
            } else if (window == "targets") {
                QCOMPARE(reader("grdTargets")->tableInterface()->columnDescription(5),
                         "CHANCE WORST %");
            } else if (window == "trends") {
                QCOMPARE(reader("grdTrends")->tableInterface()->columnDescription(2), "LAST 3");
                QVERIFY(reader("picTrend")->text(QAccessible::Description).contains("3 sessions"));
            } else if (window == "graph") {
                QVERIFY(reader("picGraph")->text(QAccessible::Description).contains("2 games"));
                QCOMPARE(reader("picBoard")->text(QAccessible::Description).count(u'%'), 21);
            }
        });
    }
    for (const auto &[face, wide] : faces)
        QFont::removeSubstitutions(face);
    Fonts::installSubstitutes();
}

void tst_Appearance::picturesAtScreenDensity() {
    if (qApp->devicePixelRatio() < 2)
        QSKIP("for dense screens: run with QT_SCALE_FACTOR=2");
    const HandedOver graphed = games({{1, {"1", "4"}}}, 2); // series 1 rising from 1 to 4
    frmGraph graph(graphed.games, graphed.rows, m_settings);
    for (const char *name : {"picGraph", "picBoard"}) {
        const QImage &image = graph.findChild<PictureBox *>(name)->image();
        QCOMPARE(image.size(), graph.findChild<PictureBox *>(name)->size() * 2);
        // Not drawn at one pixel per point and enlarged: halved and doubled again, it changes.
        QVERIFY2(image.scaled(image.size() / 2).scaled(image.size()) != image, name);
    }
}

QTEST_MAIN(tst_Appearance)
#include "tst_appearance.moc"
