#include "gui/section_viewer.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QScreen>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <new>
#include <numeric>

#include "core/step_error.h"
#include "frame/plot_options.h"
#include "frame/step_frame.h"
#include "gui/qt_step_host.h"
#include "gui/section_views.h"
#include "gui/user_interaction.h"
#include "plot/plot_sections.h"

namespace qorvel::gui {

// The sections listed: all of them, or those with problems, by their place among all.
class SectionTableModel final : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void Reset(const SectionsOnView* sections, bool problemsOnly) {
        beginResetModel();
        sections_ = sections;
        rows_.clear();
        if (sections_ && problemsOnly) {
            rows_ = sections_->SectionsWithProblems();
        } else if (sections_) {
            rows_.resize(sections_->size());
            std::iota(rows_.begin(), rows_.end(), std::size_t{0});
        }
        endResetModel();
    }
    std::size_t SectionAt(int row) const { return rows_[static_cast<std::size_t>(row)]; }
    // The row listing `section`; -1 when it is not listed.
    int RowOf(std::size_t section) const {
        const auto found = std::lower_bound(rows_.begin(), rows_.end(), section);
        return found != rows_.end() && *found == section ? static_cast<int>(found - rows_.begin()) : -1;
    }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 4; }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || !sections_) return {};
        const SectionListEntry& entry = sections_->Entry(SectionAt(index.row()));
        if (role == Qt::DisplayRole) {
            switch (index.column()) {
                case 0: return FromUtf8(entry.station);
                case 1: return static_cast<qulonglong>(entry.leftPoints);
                case 2: return static_cast<qulonglong>(entry.rightPoints);
                case 3: return Problems(entry, QStringLiteral("；"));
            }
        }
        if (role == Qt::ToolTipRole && index.column() == 3 && !entry.problems.empty())
            return Problems(entry, QStringLiteral("\n"));
        if (role == Qt::ForegroundRole && !entry.problems.empty()) return QColor(190, 0, 0);
        if (role == Qt::TextAlignmentRole && (index.column() == 1 || index.column() == 2))
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
        switch (section) {
            case 0: return QStringLiteral("桩号");
            case 1: return QStringLiteral("左侧点");
            case 2: return QStringLiteral("右侧点");
            case 3: return QStringLiteral("问题");
        }
        return {};
    }

private:
    static QString Problems(const SectionListEntry& entry, const QString& separator) {
        QStringList texts;
        for (const std::string& problem : entry.problems) texts << FromUtf8(problem);
        return texts.join(separator);
    }

    const SectionsOnView* sections_ = nullptr;
    std::vector<std::size_t> rows_;
};

namespace {

constexpr double kExaggerations[] = {1, 2, 5, 10};

// The export's progress in the viewer's status row, each whole percent.
class ViewerProgress final : public ProgressSink {
public:
    explicit ViewerProgress(StepHost& host) : host_(host) {}
    using ProgressSink::Advance;
    void Advance(std::string_view prefix, std::size_t count, std::size_t done, std::size_t total) override {
        const int percent = total == 0 ? 100 : static_cast<int>(100.0 * static_cast<double>(done) / static_cast<double>(total));
        if (percent == percent_) return;
        percent_ = percent;
        Status(prefix, count);
        host_.SetProgress(percent);
    }
    void Status(std::string_view prefix, std::size_t count) override {
        host_.SetStatus(2, std::string(prefix) + std::to_string(count) + " 个");
    }
    void Percent(int percent) override { host_.SetProgress(percent); }

private:
    StepHost& host_;
    int percent_ = -1;
};

// A file name made of a station, as the sheets of one section are named ("K0+080.pdf"):
// characters no file name may hold become "_".
std::string FileNameOfStation(std::string station) {
    for (char& c : station)
        if (static_cast<unsigned char>(c) < 0x20 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) c = '_';
    if (station.empty() || station.front() == '.') station.insert(0, "断面");
    return station + ".pdf";
}

}  // namespace

SectionViewer::SectionViewer(UserInteraction& ui, const Session& session, QWidget* parent)
    : QWidget(parent, Qt::Window), ui_(ui) {
    setObjectName(QStringLiteral("SectionViewer"));
    setWindowTitle(QStringLiteral("断面查看"));
    resize(1100, 700);

    jumpBox_ = new QLineEdit(this);
    jumpBox_->setObjectName(QStringLiteral("JumpBox"));
    jumpBox_->setPlaceholderText(QStringLiteral("桩号，回车跳转"));
    jumpBox_->setClearButtonEnabled(true);
    jumpBox_->setMaximumWidth(170);
    problemsOnly_ = new QCheckBox(QStringLiteral("只看有问题的断面"), this);
    problemsOnly_->setObjectName(QStringLiteral("ProblemsOnly"));
    exaggeration_ = new QComboBox(this);
    exaggeration_->setObjectName(QStringLiteral("Exaggeration"));
    for (const double times : kExaggerations) exaggeration_->addItem(QStringLiteral("%1 倍").arg(times), times);
    auto* previous = new QPushButton(QStringLiteral("上一个"), this);
    auto* next = new QPushButton(QStringLiteral("下一个"), this);
    auto* exportShown = new QPushButton(QStringLiteral("导出本断面…"), this);
    exportShown->setObjectName(QStringLiteral("ExportShown"));
    auto* exportAll = new QPushButton(QStringLiteral("导出全部…"), this);
    exportAll->setObjectName(QStringLiteral("ExportAll"));
    const QString tip = QStringLiteral("PDF、SVG 或 DXF，按文件的扩展名，与“绘制断面图”相同");
    exportShown->setToolTip(tip);
    exportAll->setToolTip(tip);
    for (QPushButton* button : {previous, next, exportShown, exportAll}) button->setAutoDefault(false);

    auto* tools = new QHBoxLayout;
    tools->addWidget(new QLabel(QStringLiteral("跳到："), this));
    tools->addWidget(jumpBox_);
    tools->addWidget(problemsOnly_);
    tools->addSpacing(12);
    tools->addWidget(new QLabel(QStringLiteral("竖向放大："), this));
    tools->addWidget(exaggeration_);
    tools->addSpacing(12);
    tools->addWidget(previous);
    tools->addWidget(next);
    tools->addStretch();
    tools->addWidget(exportShown);
    tools->addWidget(exportAll);

    model_ = new SectionTableModel(this);
    list_ = new QTableView(this);
    list_->setObjectName(QStringLiteral("SectionList"));
    list_->setModel(model_);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setWordWrap(false);
    list_->verticalHeader()->hide();
    // Rows of one height, columns of set widths: a list of 25,000 sections opens at once.
    list_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->setColumnWidth(0, 110);
    list_->setColumnWidth(1, 54);
    list_->setColumnWidth(2, 54);
    connect(list_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { ShowRow(current.isValid() ? current.row() : -1); });

    plan_ = new PlanView(this);
    plan_->setFixedHeight(190);
    auto* left = new QWidget(this);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(list_, 1);
    leftLayout->addWidget(plan_);

    plot_ = new SectionPlotView(this);
    problems_ = new QLabel(this);
    problems_->setObjectName(QStringLiteral("SectionProblems"));
    problems_->setWordWrap(true);
    QPalette red = problems_->palette();
    red.setColor(QPalette::WindowText, QColor(190, 0, 0));
    problems_->setPalette(red);
    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addWidget(plot_, 1);
    rightLayout->addWidget(problems_);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(left);
    splitter->addWidget(right);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({360, 740});

    position_ = new QLabel(this);
    position_->setObjectName(QStringLiteral("SectionPosition"));
    pointInfo_ = new QLabel(this);
    pointInfo_->setObjectName(QStringLiteral("PointInfo"));
    auto* status = new QLabel(this);
    progress_ = new QProgressBar(this);
    progress_->setMaximumWidth(160);
    progress_->setTextVisible(false);
    progress_->hide();  // shown while an export runs
    auto* statusRow = new QHBoxLayout;
    statusRow->addWidget(position_);
    statusRow->addSpacing(16);
    statusRow->addWidget(pointInfo_, 1);
    statusRow->addWidget(status);
    statusRow->addWidget(progress_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addWidget(splitter, 1);
    layout->addLayout(statusRow);

    host_ = std::make_unique<QtStepHost>(*this, StepDisplay{nullptr, status, progress_}, ui_, session);

    connect(previous, &QPushButton::clicked, this, [this] { StepBy(-1); });
    connect(next, &QPushButton::clicked, this, [this] { StepBy(1); });
    connect(exportShown, &QPushButton::clicked, this, &SectionViewer::ExportShown);
    connect(exportAll, &QPushButton::clicked, this, &SectionViewer::ExportAll);
    connect(problemsOnly_, &QCheckBox::toggled, this, &SectionViewer::ShowProblemsOnly);
    connect(exaggeration_, &QComboBox::currentIndexChanged, this,
            [this](int index) { plot_->SetExaggeration(exaggeration_->itemData(index).toDouble()); });
    connect(jumpBox_, &QLineEdit::returnPressed, this, [this] { JumpTo(jumpBox_->text()); });
    connect(plot_, &SectionPlotView::pointHovered, pointInfo_, &QLabel::setText);

    // The keys step through the list wherever the keyboard is, but the jump box keeps Home,
    // End and the left and right arrows for its text.
    const auto bind = [this](QKeySequence key, auto action) {
        auto* shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    for (const Qt::Key key : {Qt::Key_PageUp, Qt::Key_Up, Qt::Key_Left}) bind(key, [this] { StepBy(-1); });
    for (const Qt::Key key : {Qt::Key_PageDown, Qt::Key_Down, Qt::Key_Right}) bind(key, [this] { StepBy(1); });
    bind(Qt::Key_Home, [this] { ShowFirst(); });
    bind(Qt::Key_End, [this] { ShowLast(); });
}

SectionViewer::~SectionViewer() = default;

void SectionViewer::PlaceClearOf(const QWidget& strip) {
    const QScreen* screen = strip.screen();
    if (screen == nullptr) return;
    const QRect available = screen->availableGeometry();
    const QRect stripFrame = strip.frameGeometry().intersected(available);
    // The band of the screen above the strip or below it, whichever is taller.
    QRect room = available;
    if (!stripFrame.isEmpty()) {
        const QRect above(available.left(), available.top(), available.width(), stripFrame.top() - available.top());
        const QRect below(available.left(), stripFrame.bottom() + 1, available.width(),
                          available.bottom() - stripFrame.bottom());
        room = above.height() > below.height() ? above : below;
    }
    // The window system's frame around the window, known once it is shown.
    const QSize frame = frameGeometry().size() - size();
    const QSize fitted = size().boundedTo(room.size() - frame).expandedTo(minimumSizeHint());
    resize(fitted);
    const QSize outer = fitted + frame;
    move(room.left() + std::max(0, (room.width() - outer.width()) / 2), room.top());
}

void SectionViewer::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    emit closed();
}

void SectionViewer::SetSections(std::shared_ptr<const SectionsOnView> sections) {
    sections_ = std::move(sections);
    current_.reset();
    if (sections_) {
        const Settings& settings = sections_->settings();
        const auto exaggeration = std::find(std::begin(kExaggerations), std::end(kExaggerations), settings.exaggeration);
        if (exaggeration != std::end(kExaggerations))
            exaggeration_->setCurrentIndex(static_cast<int>(exaggeration - std::begin(kExaggerations)));
        setWindowTitle(QStringLiteral("断面查看 — %1").arg(FromUtf8(sections_->CheckSummary())));
    }
    const QSignalBlocker blocker(problemsOnly_);
    problemsOnly_->setChecked(false);
    model_->Reset(sections_.get(), false);
    ShowFirst();
    if (model_->rowCount() == 0) ShowRow(-1);
}

std::size_t SectionViewer::listedCount() const { return static_cast<std::size_t>(model_->rowCount()); }

void SectionViewer::ShowRow(int row) {
    if (row < 0 || row >= model_->rowCount()) {
        ShowSection(std::nullopt);
        position_->setText(model_->rowCount() == 0 && sections_ ? QStringLiteral("没有要列出的断面") : QString());
        return;
    }
    ShowSection(model_->SectionAt(row));
    position_->setText(QStringLiteral("第 %1 / %2 个").arg(row + 1).arg(model_->rowCount()));
}

void SectionViewer::ShowSection(std::optional<std::size_t> section) {
    current_ = section;
    pointInfo_->clear();
    if (!sections_ || !section) {
        plot_->SetSection(std::nullopt);
        plan_->SetPlan(std::nullopt);
        problems_->clear();
        return;
    }
    if (sections_->Entry(*section).hasSection) {
        plot_->SetSection(sections_->Drawing(*section));
        plan_->SetPlan(sections_->Plan(*section));
    } else {  // a station the checks found without a section: its problem alone
        plot_->SetSection(std::nullopt);
        plan_->SetPlan(std::nullopt);
    }
    QStringList problems;
    for (const std::string& problem : sections_->Entry(*section).problems) problems << FromUtf8(problem);
    problems_->setText(problems.join(QStringLiteral("；")));
}

void SectionViewer::StepBy(int delta) {
    const int rows = model_->rowCount();
    if (rows == 0) return;
    const int row = list_->currentIndex().isValid() ? list_->currentIndex().row() : 0;
    list_->setCurrentIndex(model_->index(std::clamp(row + delta, 0, rows - 1), 0));
}

void SectionViewer::ShowFirst() {
    if (model_->rowCount() > 0) list_->setCurrentIndex(model_->index(0, 0));
}

void SectionViewer::ShowLast() {
    if (model_->rowCount() > 0) list_->setCurrentIndex(model_->index(model_->rowCount() - 1, 0));
}

bool SectionViewer::JumpTo(const QString& text) {
    const std::optional<std::size_t> section = sections_ ? sections_->FindStation(text.toStdString()) : std::nullopt;
    if (!section) {
        pointInfo_->setText(QStringLiteral("找不到桩号“%1”").arg(text.trimmed()));
        return false;
    }
    if (model_->RowOf(*section) < 0) problemsOnly_->setChecked(false);  // list it again
    list_->setCurrentIndex(model_->index(model_->RowOf(*section), 0));
    list_->scrollTo(list_->currentIndex(), QAbstractItemView::PositionAtCenter);
    return true;
}

void SectionViewer::ShowProblemsOnly(bool only) {
    if (problemsOnly_->isChecked() != only) {
        problemsOnly_->setChecked(only);  // comes back here through toggled
        return;
    }
    const std::optional<std::size_t> shown = current_;
    model_->Reset(sections_.get(), only);
    const int row = shown ? model_->RowOf(*shown) : -1;
    if (row >= 0) {
        list_->setCurrentIndex(model_->index(row, 0));
        list_->scrollTo(list_->currentIndex(), QAbstractItemView::PositionAtCenter);
    } else if (model_->rowCount() > 0) {
        ShowFirst();
    } else {
        ShowRow(-1);
    }
}

void SectionViewer::SetExaggeration(double exaggeration) {
    const auto found = std::find(std::begin(kExaggerations), std::end(kExaggerations), exaggeration);
    if (found != std::end(kExaggerations)) exaggeration_->setCurrentIndex(static_cast<int>(found - std::begin(kExaggerations)));
}

void SectionViewer::ExportShown() {
    if (!current_ || !sections_->Entry(*current_).hasSection) return;
    Export({*current_}, FileNameOfStation(sections_->Entry(*current_).station));
}

void SectionViewer::ExportAll() {
    if (!sections_ || sections_->size() == 0) return;
    std::vector<std::size_t> all(sections_->size());
    std::iota(all.begin(), all.end(), std::size_t{0});
    Export(std::move(all), Describe(StepId::SectionSheets).outputName);  // as the run names its sheets
}

void SectionViewer::Export(std::vector<std::size_t> indices, std::string_view usualName) {
    const std::vector<std::string> inputs = sections_->InputPaths();
    FileQuestion question;
    question.file = Describe(StepId::SectionSheets).output;
    question.save = true;
    question.usualName = usualName;
    question.inputs = inputs;
    const std::optional<std::string> path = host_->AskFile(question);
    if (!path) return;
    const Settings& settings = sections_->settings();
    progress_->show();
    PlotOptions options = PlotOptionsOf(settings);
    options.exaggeration = exaggeration_->currentData().toDouble();  // as the surveyor sees it
    try {
        RefuseOutputAmongInputs(*path, inputs);
        SectionsOnViewSource source(*sections_, std::move(indices));
        ViewerProgress progress(*host_);
        const PlotSummary summary = PlotSections(source, options, *path, progress);
        std::string text = summary.text;
        if (!summary.Warning().empty()) text += "\n" + summary.Warning();
        host_->ShowMessage(MessageRole::Summary, kSummaryTitle, text);
    } catch (const StepError& error) {
        host_->ShowFailure(error.describe());
    } catch (const std::bad_alloc&) {
        host_->ShowFailure("内存不足，无法完成这一步。");
    }
    host_->SetProgress(0);
    progress_->hide();
}

}  // namespace qorvel::gui
