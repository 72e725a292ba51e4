#include "app/main_window.h"

#include "app/server_answer_check.h"
#include "settings/connection_settings.h"
#include "chart/chart_style.h"
#include "chart/chart_widget.h"
#include "data/dashboard_sql.h"
#include "data/failure.h"
#include "data/odbc/odbc_connection_string.h"
#include "panels/recent_payments.h"
#include "panels/startup_probe.h"
#include "screen/appearance.h"
#include "screen/layout.h"
#include "screen/panel.h"
#include "screen/ticker_grid.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>

namespace kvet {

// The grid's place inside the band, for the ticker's scroll step.
class TickerBandAdapter : public panels::TickerBand {
public:
    TickerBandAdapter(Panel& band, TickerGrid& grid) : band_(band), grid_(grid) {}
    int bandHeight() const override { return band_.height(); }
    int gridTop() const override { return grid_.y(); }
    int gridHeight() const override { return grid_.height(); }
    void setGridTop(int top) override { grid_.move(grid_.x(), top); }

private:
    Panel& band_;
    TickerGrid& grid_;
};

namespace {

void defaultErrorBox(const QString& message)
{
    QMessageBox box(QMessageBox::Critical, QCoreApplication::applicationName(), message, QMessageBox::Ok);
    box.exec();
}

// The error box appends a full stop to a message whose last character sorts above it.
QString withFullStop(const QString& message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

double screenDpi()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInch() : 96.0;
}

} // namespace

TForm1::TForm1(std::unique_ptr<Backend> backend, WindowOptions options)
    : options_(std::move(options)),
      ADOConnection1(std::move(backend))
{
    query(QStringLiteral("ADOQuery1")); // the probe's, whatever the table holds
    for (const panels::PanelEntry& entry : options_.panelTable) {
        query(entry.queryName);
        if (entry.view && !viewDefinitions_.contains(*entry.view))
            viewDefinitions_.emplace(*entry.view, viewDefinitionText(*entry.view));
    }
    setObjectName(QStringLiteral("Form1"));
    if (!options_.errorBox)
        options_.errorBox = defaultErrorBox;
    dpiScale_ = screenDpi() / 96.0;
    buildRegions();
    tickerBand_ = std::make_unique<TickerBandAdapter>(*Panel1, *StringGrid1);
    scheduler_ = std::make_unique<Scheduler>(schedulerHooks(), options_.intervals, this);
    // The scroll and probe timers are on from the start, as designed; they tick
    // from the first message-loop pass on, an error box during creation included.
    scheduler_->start();
    FormCreate();
}

TForm1::~TForm1()
{
    scheduler_.reset();
}

chart::ChartWidget& TForm1::chartWidget(const QString& name)
{
    for (std::size_t i = 0; i < charts_.size(); ++i) {
        if (charts_[i] && options_.panelTable[i].chartName == name)
            return *charts_[i];
    }
    throw std::out_of_range("no chart " + name.toStdString());
}

chart::Chart& TForm1::chart(int number)
{
    return chartWidget(number).model();
}

Query& TForm1::query(const QString& name)
{
    for (const auto& q : queries_) {
        if (q->name() == name)
            return *q;
    }
    return *queries_.emplace_back(std::make_unique<Query>(name, ADOConnection1));
}

void TForm1::buildRegions()
{
    setWindowTitle(QStringLiteral("营业收费大屏"));
    setWindowFlag(Qt::FramelessWindowHint);
    setAttribute(Qt::WA_OpaquePaintEvent);
    QFont form(QStringLiteral("宋体"));
    form.setPixelSize(scaleDesign(appearance::kFormFontPx, screenDpi()));
    setFont(form);
    resize(945, 801); // the design size; the layout adapts everything to the real one

    Panel2 = new Panel(QStringLiteral("Panel2"), this);
    Panel2->setBackground(appearance::kScreenBlue);
    Panel2->setTextColour(chart::colors::kTextYellow);
    Panel2->setFont(appearance::heiti(scaleDesign(appearance::kBannerFontPx, screenDpi())));
    Panel2->setCaption(QStringLiteral("营业收费系统指标"));
    Panel2->setGeometry(0, 0, width(), scaleDesign(design::kBannerHeight, screenDpi()));
    Panel2->setOnDoubleClick([this] { Panel2DblClick(); });

    for (const panels::PanelEntry& entry : options_.panelTable)
        charts_.push_back(entry.isChart() ? panels::makePanelChart(entry, dpiScale_, this).release() : nullptr);

    Panel1 = new Panel(QStringLiteral("Panel1"), this);
    StringGrid1 = new TickerGrid(Panel1);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->applyScreenDensity(screenDpi());
    Panel3 = new Panel(QStringLiteral("Panel3"), Panel1);
    Panel3->setFont(appearance::heiti(scaleDesign(appearance::kHeadingFontPx, screenDpi())));
    Panel3->setTextColour(chart::colors::kTextYellow);
    Panel3->resize(width(), scaleDesign(design::kHeadingStripHeight, screenDpi()));
    const QStringList captions = {QStringLiteral("流水号"), QStringLiteral("用户号"), QStringLiteral("用户名"),
                                  QStringLiteral("用户地址"), QStringLiteral("金额"), QStringLiteral("缴费时间"),
                                  QStringLiteral("缴费渠道")};
    for (int i = 0; i < 7; ++i) {
        auto* label = new QLabel(captions[i], Panel3);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        label->setFont(Panel3->font());
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, chart::colors::kTextYellow);
        label->setPalette(p);
        label->adjustSize(); // the width follows the caption
        label->move(0, scaleDesign(design::kHeadingTop, screenDpi()));
        labels_[i] = label;
    }
    Panel3->raise(); // the strip lies in front of the grid
}

void TForm1::FormCreate()
{
    // One blue behind everything: the banner's colour is the source.
    const QColor blue = Panel2->background();
    Panel1->setBackground(blue);
    Panel3->setBackground(blue);
    QPalette gridPalette = StringGrid1->palette();
    gridPalette.setColor(QPalette::Window, blue);
    StringGrid1->setPalette(gridPalette);
    QPalette p = palette();
    p.setColor(QPalette::Window, blue);
    setPalette(p);
    // Creation sets no interval: the periodic refresh's ten minutes are the
    // scheduler's own (SchedulerIntervals), given to it in the constructor.
    applySettings();
}

void TForm1::applySettings()
{
    if (!options_.readSettingsFile) {
        ADOConnection1.setConnectionString(options_.connectionString);
        return;
    }
    ConnectionSettings settings;
    try {
        const QString path =
            options_.settingsPath.isEmpty() ? settingsPathBesideExecutable() : options_.settingsPath;
        readConnectionSettings(path, settings);
        ADOConnection1.setConnectionString(connectionStringFor(settings));
    } catch (const std::exception& e) {
        // The connection keeps its empty string: every database attempt fails
        // and reports in the status cell. The box shows once, modal.
        showUncaught(messageOf(e));
    }
    // Held only while the string is built; nothing reads them afterwards.
    settings.clear();
}

SchedulerHooks TForm1::schedulerHooks()
{
    SchedulerHooks h;
    h.openConnection = [this] { ADOConnection1.open(); };
    h.closeConnection = [this] { ADOConnection1.close(); };
    h.connected = [this] { return ADOConnection1.connected(); };
    h.showStatus = [this](const QString& m) { StringGrid1->showStatus(m); };
    h.probe = [this] {
        return panels::runStartupProbe(
            query(QStringLiteral("ADOQuery1")), [this](const QString& c) { Panel2->setCaption(c); }, *StringGrid1);
    };
    if (options_.askServerBeforeProbeRetries) {
        serverAnswerCheck_ = std::make_unique<ServerAnswerCheck>();
        h.whenServerAnswers = [this](std::function<void(bool)> done) {
            const std::optional<TdsEndpoint> endpoint = tdsEndpoint(ADOConnection1.connectionString());
            if (!endpoint)
                return done(true); // nothing to ask: the probe finds out
            // As long as the login may wait for an answer.
            serverAnswerCheck_->ask(*endpoint, odbc::kLoginTimeoutSeconds * 1000, std::move(done));
        };
    }
    // The ticker's entry refills the grid at the end of each scroll pass.
    const panels::PanelEntry* ticker = nullptr;
    for (const panels::PanelEntry& entry : options_.panelTable) {
        h.firstRefresh.push_back([this, &entry] { runEntry(entry); });
        if (entry.periodic)
            h.periodicRefresh.push_back([this, &entry] { runEntry(entry); });
        if (!entry.isChart() && !ticker)
            ticker = &entry;
    }
    h.scrollStep = [this, ticker] {
        panels::scrollRecentPayments(*tickerBand_, [this, ticker] {
            if (ticker)
                runEntry(*ticker);
        });
    };
    h.pump = [] { QCoreApplication::processEvents(); };
    h.uncaught = [this](const QString& m) { showUncaught(m); };
    h.firstRefreshDone = [this] {
        if (options_.onFirstRefreshDone)
            options_.onFirstRefreshDone();
    };
    return h;
}

void TForm1::runRoutine(const QString& routineName)
{
    runEntry(panels::panelByRoutine(options_.panelTable, routineName));
}

void TForm1::runEntry(const panels::PanelEntry& entry)
{
    const auto index = std::size_t(&entry - options_.panelTable.data());
    panels::PanelRun run{charts_.at(index) ? &charts_[index]->model() : nullptr,
                         query(entry.queryName),
                         ADOConnection1,
                         *StringGrid1,
                         StringGrid1,
                         entry.view ? &viewDefinitions_.at(*entry.view) : nullptr};
    entry.refresh(entry, run);
}

void TForm1::showUncaught(const QString& message)
{
    if (errorBoxOpen_) {
        // One box at a time: an unattended screen must not pile up dialogs.
        StringGrid1->showStatus(message);
        return;
    }
    errorBoxOpen_ = true;
    try {
        options_.errorBox(withFullStop(message));
    } catch (...) {
    }
    errorBoxOpen_ = false;
}

void TForm1::showFullScreenMaximized()
{
    // Without a window manager showMaximized() alone keeps the preferred size.
    if (QScreen* s = screen())
        setGeometry(s->geometry());
    showMaximized();
}

void TForm1::resizeEvent(QResizeEvent*)
{
    try {
        FormResize();
    } catch (const std::exception& e) {
        StringGrid1->showStatus(messageOf(e));
    }
}

void TForm1::FormResize()
{
    LayoutInput in;
    in.width = width();
    in.height = height();
    Panel2->setGeometry(0, 0, width(), Panel2->height()); // aligned to the top, full width
    in.bannerTop = Panel2->y();
    in.bannerHeight = Panel2->height();
    in.gridColumns = StringGrid1->columnCount();
    const ScreenLayout l = computeLayout(in);
    for (std::size_t i = 0; i < charts_.size(); ++i) {
        if (!charts_[i])
            continue;
        const Rect& r = l.cell(options_.panelTable[i].place);
        charts_[i]->setGeometry(r.left, r.top, r.width, r.height);
    }
    // The band hangs from the bottom edge; the strip sits at its top, full width.
    Panel1->setGeometry(0, l.bandTop, width(), l.bandWidgetHeight());
    Panel3->setGeometry(0, 0, width(), Panel3->height());
    StringGrid1->setGeometry(l.gridLeft, l.gridTop, l.gridWidth, StringGrid1->height());
    StringGrid1->setDefaultColumnWidth(l.columnWidth);
    for (int i = 0; i < 7; ++i)
        labels_[i]->move(l.headingLefts[i], labels_[i]->y());
}

void TForm1::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
    FormDblClick();
}

void TForm1::FormDblClick() { close(); }
void TForm1::Panel2DblClick() { close(); }

void TForm1::paintEvent(QPaintEvent*)
{
    // FormPaint draws nothing of its own; the blue behind the regions shows
    // through the 1-pixel lines and the cut chart corners.
    QPainter(this).fillRect(rect(), Panel2->background());
}

void TForm1::closeEvent(QCloseEvent* event)
{
    // Timers stop at once; the objects live on until the routine that may be
    // running in a nested message-loop pass has returned (the window is owned
    // by main(), not deleted on close).
    scheduler_->stop();
    event->accept();
}

} // namespace kvet
