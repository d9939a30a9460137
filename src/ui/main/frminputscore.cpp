#include "ui/main/frminputscore.h"

#include "entry/filtertext.h"
#include "entry/thistimecard.h"
#include "history/historyline.h"
#include "history/recentmodel.h"
#include "history/recenttable.h"
#include "platform/colourpair.h"
#include "platform/gridmodel.h"
#include "platform/gridview.h"
#include "platform/messagebox.h"
#include "platform/twips.h"
#include "stats/drillchoice.h"
#include "ui/about/frmabout.h"
#include "ui/about/helppage.h"
#include "ui/fonts.h"
#include "ui/graph/frmgraph.h"
#include "ui/main/buttonsframe.h"
#include "ui/main/mainmenus.h"
#include "ui/main/thistimeframe.h"
#include "ui/main/viewlayout.h"
#include "ui/stats/frmtargets.h"
#include "ui/stats/frmtrends.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <random>
#include <utility>

namespace {

constexpr int ClientWidth = 13305;
constexpr int CardIndex = 0;
constexpr int RecentIndex = 1;
constexpr int AveragesIndex = 2;

} // namespace

frmInputScore::frmInputScore(FileSystemObject &fileSystem, Settings &settings, QWidget *parent)
    : QMainWindow(parent)
    , m_config(settings)
    , m_history(fileSystem)
    , m_draft(fileSystem)
    , m_drills(fileSystem)
    , m_drillDraft(fileSystem) {
    setObjectName(QStringLiteral("frmInputScore"));
    setWindowTitle(QStringLiteral("Dartrail"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(Fonts::gothic(12));

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);
    // Qt sizes the client area; the window follows its fixed size.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    client->setFixedSize(Twips::toPixels(ClientWidth), Twips::toPixels(6495));

    m_card = new ThisTimeFrame(client);
    m_card->setGeometry(Twips::rect(0, 120, 13095, 675));
    m_grdRecent = new GridView(client);
    m_grdRecent->setObjectName(QStringLiteral("grdRecent"));
    m_grdRecent->setAccessibleName(QStringLiteral("RECENT"));
    m_grdRecent->setModel(m_recent = new RecentModel(m_games, m_grdRecent));
    m_grdRecent->setGeometry(Twips::rect(120, 900, 13095, 1515));
    m_grdAVG = new GridView(client);
    m_grdAVG->setObjectName(QStringLiteral("grdAVG"));
    m_grdAVG->setAccessibleName(QStringLiteral("AVG/HIT"));
    m_grdAVG->setModel(m_averages = new GridModel(m_grdAVG));
    m_grdAVG->setGeometry(Twips::rect(120, 2520, 12855, 1815));
    for (GridView *grid : {m_grdRecent, m_grdAVG}) {
        // A screen reader names the columns as the card's headings do.
        QStringList names{grid == m_grdRecent ? QStringLiteral("DATE") : QStringLiteral("AVG/HIT")};
        for (int target = 1; target <= 20; ++target)
            names.append(QString::number(target));
        names << QStringLiteral("BULL") << QStringLiteral("TOTAL") << QStringLiteral("AVG");
        for (int col = 0; col < names.size(); ++col)
            grid->model()->setHeaderData(col, Qt::Horizontal, names[col]);
        grid->setFont(Fonts::gothic(9.75));
        // The columns fill the grid's width; the frame must not add a scroll bar for a pixel.
        grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    m_buttons = new ButtonsFrame(client);
    m_buttons->setGeometry(Twips::rect(120, 4440, 13155, 1935));

    // The window, its frames and the grids are one surface in the scheme's highlighted-text
    // colour, light even on a dark desktop; its texts and rules are made to read on it.
    ColourPair::set(client, palette().color(QPalette::HighlightedText),
                    palette().color(QPalette::WindowText));
    client->setAutoFillBackground(true);

    m_menus = new MainMenus(menuBar());
    connectControls();
    setTabOrder();
    loadStep();
}

// The application's focus signal would otherwise reach a window half destroyed: taking the
// window down moves the focus.
frmInputScore::~frmInputScore() {
    disconnect(qApp, nullptr, this, nullptr);
}

void frmInputScore::connectControls() {
    for (int i = 0; i < ThisTimeFrame::FieldCount; ++i) {
        QLineEdit *field = m_card->txt(i);
        field->installEventFilter(this);
        connect(field, &QLineEdit::textChanged, this, [this, i] { txtChange(i); });
    }
    // Told once, not at every key: the card can still be saved, but no longer survives a crash.
    connect(&m_draftWriter, &BackgroundWriter::failed, this,
            [this](const QByteArray &file, const QString &reason) {
                MessageBox::showError(this, QString::fromLocal8Bit(file) + QStringLiteral(": ") +
                                                reason +
                                                QStringLiteral(". The card being typed cannot be "
                                                               "kept there, so a crash would lose "
                                                               "it; saving it works as before."));
            });
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget *, QWidget *now) { focusChanged(now); });

    connect(m_buttons->cmdGroup(), &QButtonGroup::idClicked, this, &frmInputScore::cmdClick);
    connect(m_buttons->cmdNumGroup(), &QButtonGroup::idClicked, this, &frmInputScore::cmdNumClick);
    connect(m_buttons->cmdBS(), &QPushButton::clicked, this,
            [this] { typeIntoCurrentField(Qt::Key_Backspace, QString()); });
    connect(m_buttons->cmdDEL(), &QPushButton::clicked, this,
            [this] { typeIntoCurrentField(Qt::Key_Delete, QString()); });

    connect(m_menus->mnuFile_Save, &QAction::triggered, this, &frmInputScore::saveCommand);
    connect(m_menus->mnuFile_Mode_A, &QAction::triggered, this, [this] { switchMode(Mode::A); });
    connect(m_menus->mnuFile_Mode_B, &QAction::triggered, this, [this] { switchMode(Mode::B); });
    connect(m_menus->mnuFile_Exit, &QAction::triggered, this, &QWidget::close);
    connect(m_menus->mnuEdit_Clear_ThisTime, &QAction::triggered, this,
            &frmInputScore::ClearThisTime);
    connect(m_menus->mnuEdit_Clear_RecentData, &QAction::triggered, this, [this] {
        DeleteRecentData();
        m_grdRecent->selectOnlyCurrentRow();
    });
    connect(m_menus->mnuEdit_UndoDelete, &QAction::triggered, this, &frmInputScore::undoDelete);
    connect(m_menus->mnuFile_Drill, &QAction::triggered, this, &frmInputScore::drillCommand);
    connect(m_menus->mnuEdit_DeleteDrill, &QAction::triggered, this,
            &frmInputScore::deleteLastDrill);
    connect(m_menus->mnuView_Graph, &QAction::triggered, this,
            [this] { cmdClick(ButtonsFrame::Graph); });
    connect(m_menus->mnuView_ThisTime, &QAction::triggered, this,
            [this](bool checked) { togglePanel(CardIndex, checked); });
    connect(m_menus->mnuView_Recent, &QAction::triggered, this,
            [this](bool checked) { togglePanel(RecentIndex, checked); });
    connect(m_menus->mnuView_AVG, &QAction::triggered, this,
            [this](bool checked) { togglePanel(AveragesIndex, checked); });
    connect(m_menus->mnuView_Targets, &QAction::triggered, this, [this] {
        frmTargets targets(m_games, m_config, &m_drills.games(), this);
        targets.exec();
    });
    connect(m_menus->mnuView_Trends, &QAction::triggered, this, [this] {
        frmTrends trends(m_games, m_config, &m_drills.games(), this);
        trends.exec();
    });
    connect(m_menus->mnuHelp_Help, &QAction::triggered, this, [this] { openHelpPage(this); });
    connect(m_menus->mnuHelp_About, &QAction::triggered, this, [this] {
        frmAbout about(this);
        about.exec();
    });
}

void frmInputScore::setTabOrder() {
    QList<QWidget *> order;
    for (int i = 0; i < ThisTimeFrame::FieldCount; ++i)
        order.append(m_card->txt(i));
    order << m_grdRecent << m_grdAVG << m_buttons->tabOrder();
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void frmInputScore::applySettingsChecks() {
    m_menus->mnuFile_Mode_A->setChecked(m_config.PlayMode == Mode::A);
    m_menus->mnuFile_Mode_B->setChecked(m_config.PlayMode == Mode::B);
    m_menus->mnuView_ThisTime->setChecked(m_config.PanelOrder[CardIndex] != 0);
    m_menus->mnuView_Recent->setChecked(m_config.PanelOrder[RecentIndex] != 0);
    m_menus->mnuView_AVG->setChecked(m_config.PanelOrder[AveragesIndex] != 0);
}

void frmInputScore::Pub_Sub_ViewChange() {
    m_buttons->keypadA()->setVisible(m_config.PlayMode == Mode::A);
    m_buttons->keypadB()->setVisible(m_config.PlayMode == Mode::B);

    const std::array<QWidget *, 3> panels{m_card, m_grdRecent, m_grdAVG};
    const ViewArrangement arrangement = ViewLayout::arrange(m_config.PanelOrder);
    for (size_t i = 0; i < panels.size(); ++i) {
        panels[i]->setVisible(arrangement.panels[i].visible);
        if (arrangement.panels[i].top)
            panels[i]->move(panels[i]->x(), Twips::toPixels(*arrangement.panels[i].top));
    }
    m_buttons->move(m_buttons->x(), Twips::toPixels(arrangement.buttonsTop));
    centralWidget()->setFixedHeight(Twips::toPixels(arrangement.clientHeight));

    for (QPushButton *button : m_buttons->entryButtons())
        button->setEnabled(arrangement.entryEnabled);
    m_menus->mnuEdit_Clear_ThisTime->setEnabled(arrangement.entryEnabled);
    updateSaveEnabled();
    updateDrillItems();
}

void frmInputScore::loadStep() {
    for (int i = 0; i < ThisTimeFrame::FieldCount; ++i)
        m_card->txt(i)->setMaxLength(ThisTimeCard::maxLength(m_config.PlayMode));
    reportFailure(m_history.load(m_config.PlayMode, m_games, *m_averages));
    showGames();
}

void frmInputScore::showGames() {
    m_recent->refresh();
    m_menus->mnuEdit_UndoDelete->setEnabled(m_history.canUndo(m_config.PlayMode));
    loadDrills();
    m_currentTarget = std::max(m_drill.first(), 0); // a drill keeps to its own fields
}

void frmInputScore::updateTotals() {
    const ThisTimeCard::Totals totals = ThisTimeCard::totals(m_card->texts(), m_config.PlayMode);
    m_card->showResults(totals.total, totals.average);
}

void frmInputScore::SetCurrentEntry(int value) {
    QLineEdit *field = m_card->txt(m_currentTarget);
    // Emptying first makes the field change even when the new text equals the old, so the
    // change handling (and mode B's move to the next field) always runs.
    field->setText(QString());
    field->setText(QString::number(ThisTimeCard::clamp(m_config.PlayMode, value)));
}

void frmInputScore::ClearThisTime() {
    endDrill();
    emptyCard();
    discardDraft(m_config.PlayMode);
}

void frmInputScore::emptyCard() {
    m_draftHeld = true;
    for (int i = 0; i < ThisTimeFrame::FieldCount; ++i)
        m_card->txt(i)->setText(QString());
    m_draftHeld = false;
    moveFocus(m_card->txt(0));
}

void frmInputScore::restoreDraft() {
    m_draftWriter.finish(); // a removal of this draft may still be waiting
    m_draftLine.clear();
    if (restoreDrill())
        return;
    if (const std::optional<CardDraft::Card> draft = m_draft.kept(m_config.PlayMode)) {
        // A card that was saved is in the history already, whatever stopped its draft going.
        if (CardDraft::isSaved(draft->texts, draft->savingAs, m_games)) {
            discardDraft(m_config.PlayMode);
        } else {
            m_draftHeld = true;
            for (int i = 0; i < ThisTimeFrame::FieldCount; ++i)
                m_card->txt(i)->setText(draft->texts[i]);
            m_draftHeld = false;
            m_draftLine = CardDraft::line(draft->texts, draft->currentTarget, {});
            moveFocus(m_card->txt(draft->currentTarget));
        }
    }
    // The file holds what the start made of it before the player goes on.
    m_draftWriter.finish();
}

void frmInputScore::keepDraft(const QString &savingAs) {
    if (m_drill.running()) {
        if (!m_draftHeld)
            keepDrill(savingAs);
        return;
    }
    const QByteArray line = CardDraft::line(m_card->texts(), m_currentTarget, savingAs);
    if (m_draftHeld || line == m_draftLine)
        return;
    m_draftLine = line;
    m_draftWriter.post(CardDraft::filePath(m_config.PlayMode),
                       [draft = m_draft, mode = m_config.PlayMode, texts = m_card->texts(),
                        target = m_currentTarget,
                        savingAs] { return draft.keep(mode, texts, target, savingAs); });
}

void frmInputScore::discardDraft(Mode playMode) {
    m_draftLine.clear();
    m_draftWriter.post(CardDraft::filePath(playMode),
                       [draft = m_draft, playMode] { return draft.discard(playMode); });
}

void frmInputScore::txtChange(int index) {
    QLineEdit *field = m_card->txt(index);
    FilterText(field, 30, 0, 1);
    const QString text = field->text();
    if (m_config.PlayMode == Mode::A) {
        moveFocus(field);
    } else if (!text.isEmpty()) {
        if (!ThisTimeCard::isModeBValue(text))
            field->setText(QString());
        else
            moveFocus(fieldAfter(index));
    }
    updateTotals();
    updateDrillItems();
    keepDraft();
}

void frmInputScore::txtGotFocus(int index) {
    m_currentTarget = index;
    m_card->markHeading(index, true);
    if (m_config.PlayMode == Mode::B) {
        QLineEdit *field = m_card->txt(index);
        field->selectAll();
        // A mouse click places the caret after the focus arrives; select again after it. Only
        // then: keys already waiting must find the text selected now, and never lose it later.
        if (m_focusByMouse)
            QMetaObject::invokeMethod(field, &QLineEdit::selectAll, Qt::QueuedConnection);
    }
    setGraphEnabled(false);
    keepDraft(); // the current field too comes back as it was
}

void frmInputScore::txtLostFocus(int index) {
    m_card->markHeading(index, false);
}

bool frmInputScore::txtKeyDown(int index, const QKeyEvent &event) {
    if (m_drill.running())
        return drillKeyDown(index, event);
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) {
        // Enter moves like Tab (Shift+Enter like Shift+Tab), and at once: the keys typed after
        // it may already be waiting, and belong in the field it moves to.
        focusNextPrevChild(!(event.modifiers() & Qt::ShiftModifier));
        return true;
    }
    if (event.key() == Qt::Key_Backspace && index > 0 && m_card->txt(index)->text().isEmpty()) {
        moveFocus(m_card->txt(index - 1));
        return true;
    }
    return false;
}

void frmInputScore::cmdClick(int index) {
    if (index <= 3) {
        SetCurrentEntry(index);
    } else if (index == ButtonsFrame::SaveData) {
        saveCommand();
    } else if (index == ButtonsFrame::Graph) {
        showGraph();
    } else if (index == ButtonsFrame::Next) {
        moveFocus(fieldAfter(m_currentTarget));
    } else {
        // Step buttons: the caption is the only place where the step is stored.
        const int step = ThisTimeCard::stepValue(m_buttons->cmd(index)->text());
        SetCurrentEntry(ThisTimeCard::steppedValue(m_card->txt(m_currentTarget)->text(), step));
    }
}

void frmInputScore::cmdGotFocus(int index) {
    if (index == ButtonsFrame::Graph) {
        m_grdRecent->setHighlight(GridView::HighlightAlways);
        return;
    }
    setGraphEnabled(false);
    m_grdRecent->setHighlight(GridView::HighlightWithFocus);
}

void frmInputScore::cmdNumClick(int digit) {
    typeIntoCurrentField(Qt::Key_0 + digit, QString::number(digit));
}

void frmInputScore::typeIntoCurrentField(int key, const QString &text) {
    // The key goes through the field's own editing, length limit and handlers, as if typed;
    // sent, not queued, so that keys typed meanwhile can neither overtake it nor be overtaken.
    QPointer<QLineEdit> field = m_card->txt(m_currentTarget);
    moveFocus(field);
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(field, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    if (field)
        QCoreApplication::sendEvent(field, &release);
}

void frmInputScore::saveCommand() {
    const bool drill = m_drill.running();
    if (!MessageBox::askOkCancel(this,
                                 drill ? QStringLiteral("SAVE DRILL?") : QStringLiteral("SAVE?"),
                                 QStringLiteral("SAVE DATA")))
        return;
    // One reading of the clock stamps the line, the draft and the wait: were the second to tick
    // between two readings, the next save could share the second of the line just stored.
    const QDateTime now = m_clock();
    // The draft learns the stamp before the line is written, so that after a crash the card
    // counts as saved only if the history holds that very line.
    keepDraft(QString::fromLatin1(HistoryLine::stamp(now)));
    m_draftWriter.finish();
    // Nothing was stored: the card, the focus and the grids stay as they are, so the player
    // can mend the cause and save again; the draft's stamp is in no line, so it still counts.
    if (drill ? reportFailure(m_drills.save(m_config.PlayMode, m_card->texts(), now),
                              m_drills.failedFile())
              : !SaveRecentData(now))
        return;
    // The card is emptied and the list reloaded before the wait below, so that whatever the
    // player does meanwhile works on the new card and on a list that holds the saved game.
    ClearThisTime();
    drill ? loadDrills() : loadStep();
    waitForNextSecond(now);
}

void frmInputScore::waitForNextSecond(const QDateTime &stamped) {
    // The next save must fall into a later second, so that every stored game is distinct: till
    // then neither save command starts, or the same card would be stored twice.
    m_saveWaiting = true;
    updateSaveEnabled();
    QTimer::singleShot(1000 - stamped.time().msec(), this, [this, stamped] {
        const QDateTime now = m_clock();
        if (HistoryLine::stamp(now) == HistoryLine::stamp(stamped))
            return waitForNextSecond(now);
        m_saveWaiting = false;
        updateSaveEnabled();
    });
}

void frmInputScore::updateSaveEnabled() {
    const bool enabled = ViewLayout::arrange(m_config.PanelOrder).entryEnabled && !m_saveWaiting;
    m_buttons->cmd(ButtonsFrame::SaveData)->setEnabled(enabled);
    m_menus->mnuFile_Save->setEnabled(enabled);
}

bool frmInputScore::SaveRecentData(const QDateTime &now) {
    return !reportFailure(m_history.save(m_config.PlayMode, m_card->texts(), now));
}

void frmInputScore::DeleteRecentData() {
    // The games lose the deleted ones in memory; after a failure the file may hold other games
    // than those shown, so it is read again.
    if (reportFailure(
            m_history.remove(m_config.PlayMode, m_games, *m_averages, m_grdRecent->selectedRows())))
        loadStep();
    else
        showGames();
}

void frmInputScore::undoDelete() {
    reportFailure(m_history.undoRemove(m_config.PlayMode));
    loadStep();
}

bool frmInputScore::reportFailure(const QString &error) {
    return reportFailure(error, m_history.failedFile());
}

bool frmInputScore::reportFailure(const QString &error, const QByteArray &file) {
    if (error.isEmpty())
        return false;
    // The system's text alone does not say which file; the player has to find it.
    MessageBox::showError(this, QString::fromLocal8Bit(file) + QStringLiteral(": ") + error);
    return true;
}

void frmInputScore::showGraph() {
    frmGraph graph(m_games, m_grdRecent->selectedRows(), m_config, this);
    graph.exec();
}

void frmInputScore::switchMode(Mode playMode) {
    const bool alreadyChosen = m_config.PlayMode == playMode;
    m_menus->mnuFile_Mode_A->setChecked(playMode == Mode::A);
    m_menus->mnuFile_Mode_B->setChecked(playMode == Mode::B);
    if (alreadyChosen)
        return;
    // The card is emptied, so the draft of the mode left goes; one of the new mode, left by a
    // crash, comes back.
    discardDraft(m_config.PlayMode);
    endDrill();
    m_config.PlayMode = playMode;
    emptyCard();
    loadStep();
    Pub_Sub_ViewChange();
    restoreDraft();
}

void frmInputScore::togglePanel(int panel, bool checked) {
    ViewLayout::toggle(m_config.PanelOrder, panel, checked);
    Pub_Sub_ViewChange();
}

void frmInputScore::setGraphEnabled(bool enabled) {
    m_buttons->cmd(ButtonsFrame::Graph)->setEnabled(enabled);
    m_menus->mnuView_Graph->setEnabled(enabled);
}

void frmInputScore::moveFocus(QWidget *target) {
    // A control that cannot take the focus (hidden panel, window not shown) is skipped.
    if (target && target->isVisible() && target->isEnabled())
        target->setFocus();
}

void frmInputScore::focusChanged(QWidget *now) {
    // Only moves between the window's own controls count. The menu bar, a menu, a message box
    // or another window holding the focus for a while leaves every state as it was, and so
    // does the focus coming back to the control that had it.
    if (!now || !centralWidget()->isAncestorOf(now) || now == m_focusedControl)
        return;
    if (QWidget *previous = std::exchange(m_focusedControl, now))
        controlLostFocus(previous);
    controlGotFocus(now);
}

void frmInputScore::controlGotFocus(QWidget *control) {
    auto *button = qobject_cast<QAbstractButton *>(control);
    if (const int i = m_card->txtIndex(control); i >= 0) {
        txtGotFocus(i);
    } else if (const int index = m_buttons->cmdGroup()->id(button); index >= 0) {
        cmdGotFocus(index);
    } else if (m_buttons->cmdNumGroup()->id(button) >= 0 || control == m_grdAVG) {
        setGraphEnabled(false);
    } else if (control == m_grdRecent) {
        m_menus->mnuEdit_Clear_RecentData->setEnabled(true);
        setGraphEnabled(true);
    }
}

void frmInputScore::controlLostFocus(QWidget *control) {
    if (const int i = m_card->txtIndex(control); i >= 0)
        txtLostFocus(i);
    else if (m_buttons->cmdGroup()->id(qobject_cast<QAbstractButton *>(control)) >= 0)
        m_grdRecent->setHighlight(GridView::HighlightWithFocus);
    else if (control == m_grdRecent)
        m_menus->mnuEdit_Clear_RecentData->setEnabled(false);
}

bool frmInputScore::eventFilter(QObject *watched, QEvent *event) {
    if (const int i = m_card->txtIndex(watched); i >= 0 && event->type() == QEvent::KeyPress)
        return txtKeyDown(i, *static_cast<QKeyEvent *>(event));
    // The focus event comes before the focus handlers run.
    if (m_card->txtIndex(watched) >= 0 && event->type() == QEvent::FocusIn)
        m_focusByMouse = static_cast<QFocusEvent *>(event)->reason() == Qt::MouseFocusReason;
    return QMainWindow::eventFilter(watched, event);
}

void frmInputScore::drillCommand() {
    if (!m_drill.running()) {
        std::mt19937_64 random{quint64(QDateTime::currentMSecsSinceEpoch())};
        // The targets of the new drill by the trends' own session gap and weighting.
        startDrill(DrillChoice::choose(
            DrillChoice::trendCounts(
                DrillChoice::played(m_games, &m_drills.games(), m_config.PlayMode),
                frmTrends::gapMinutes(m_config), frmTrends::lambda(m_config)),
            DrillChoice::targetsFromText(
                m_config.ReadSetting(QStringLiteral("DRILL"), QStringLiteral("TARGETS"), {})),
            random));
        return;
    }
    const QStringList texts = m_card->texts();
    const bool filled =
        std::any_of(texts.cbegin(), texts.cend(), [](const QString &t) { return !t.isEmpty(); });
    if (filled && !MessageBox::askOkCancel(this, QStringLiteral("DISCARD THE DRILL?"),
                                           QStringLiteral("FOCUS DRILL")))
        return;
    ClearThisTime();
}

void frmInputScore::startDrill(const std::vector<int> &fields) {
    m_drill.start(fields);
    m_currentTarget = m_drill.first();
    m_card->showDrill(m_drill);
    moveFocus(m_card->txt(m_drill.first()));
    keepDrill();
    updateDrillItems();
}

void frmInputScore::endDrill() {
    if (!m_drill.running())
        return;
    m_drill.end();
    discardDrillDraft();
    m_card->showDrill(m_drill);
    updateDrillItems();
}

bool frmInputScore::restoreDrill() {
    const std::optional<DrillDraft::Drill> drill = m_drillDraft.kept(m_config.PlayMode);
    if (!drill)
        return false;
    // A drill that was saved is in the drill file already, whatever stopped its draft going.
    if (CardDraft::isSaved(drill->texts, drill->savingAs, m_drills.games())) {
        discardDrillDraft();
        return false;
    }
    startDrill(drill->fields);
    m_draftHeld = true;
    for (int i = 0; i < ThisTimeFrame::FieldCount; ++i)
        m_card->txt(i)->setText(drill->texts[i]);
    m_draftHeld = false;
    moveFocus(m_card->txt(drill->currentTarget));
    return true;
}

void frmInputScore::keepDrill(const QString &savingAs) {
    const int current = m_drill.chosen(m_currentTarget) ? m_currentTarget : m_drill.first();
    // Through the card draft's writer: off the window's thread, and in order with its writes.
    m_draftWriter.post(DrillDraft::filePath(m_config.PlayMode),
                       [draft = m_drillDraft, mode = m_config.PlayMode,
                        drill = DrillDraft::Drill{m_drill.fields(), m_card->texts(), current,
                                                  savingAs}] { return draft.keep(mode, drill); });
}

void frmInputScore::discardDrillDraft() {
    m_draftWriter.post(
        DrillDraft::filePath(m_config.PlayMode),
        [draft = m_drillDraft, mode = m_config.PlayMode] { return draft.discard(mode); });
}

bool frmInputScore::drillKeyDown(int index, const QKeyEvent &event) {
    // Enter, Shift+Enter and Backspace in an empty field go from chosen field to chosen field.
    const auto toPrevious = [&] {
        const int previous = m_drill.previous(index);
        if (previous != DrillCard::None)
            moveFocus(m_card->txt(previous));
        return previous != DrillCard::None;
    };
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) {
        if (event.modifiers() & Qt::ShiftModifier)
            toPrevious();
        else
            moveFocus(fieldAfter(index));
        return true;
    }
    if (event.key() == Qt::Key_Backspace && m_card->txt(index)->text().isEmpty())
        return toPrevious();
    return false;
}

void frmInputScore::deleteLastDrill() {
    const QString stamp = m_drills.lastStamp();
    if (stamp.isEmpty() ||
        !MessageBox::askOkCancel(this, QStringLiteral("DELETE THE LAST DRILL (%1)?").arg(stamp),
                                 QStringLiteral("DELETE LAST DRILL")))
        return;
    reportFailure(m_drills.removeLast(m_config.PlayMode), m_drills.failedFile());
    loadDrills();
}

void frmInputScore::loadDrills() {
    // A drill file that cannot be read counts as no drills here; a save or delete names it.
    m_drills.load(m_config.PlayMode);
    updateDrillItems();
}

void frmInputScore::updateDrillItems() {
    const QStringList texts = m_card->texts();
    const bool empty =
        std::all_of(texts.cbegin(), texts.cend(), [](const QString &t) { return t.isEmpty(); });
    m_menus->mnuFile_Drill->setText(m_drill.running() ? QStringLiteral("END FOCUS DRILL")
                                                      : QStringLiteral("FOCUS DRILL"));
    m_menus->mnuFile_Drill->setEnabled(ViewLayout::arrange(m_config.PanelOrder).entryEnabled &&
                                       (m_drill.running() || empty));
    m_menus->mnuEdit_DeleteDrill->setEnabled(!m_drills.lastStamp().isEmpty());
}

QWidget *frmInputScore::fieldAfter(int index) const {
    const int next = m_drill.running() ? m_drill.next(index) : index + 1;
    if (next >= 0 && next < ThisTimeFrame::FieldCount)
        return m_card->txt(next);
    return m_buttons->cmd(ButtonsFrame::SaveData);
}
