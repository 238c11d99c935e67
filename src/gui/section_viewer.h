#pragma once
// "断面查看": the sections of a project on screen before they go to design. A list of every
// section (station, points left and right of the stake, the problems the section check found),
// the selected section drawn as on the sheets with a grid, zoom, pan and the surveyed point
// under the mouse named, its plan beside the list, and the vertical exaggeration 1, 2, 5 or 10.
//
// PgUp/PgDn and the arrows step to the previous or next section of the list, Home and End go
// to the first and the last; the jump box finds a station by its text or its chainage; a
// switch lists only the sections with problems. The section shown, or all of them, are
// exported to PDF, SVG or DXF exactly as `qorvel plot` draws them.

#include <QPointer>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

#include "frame/sections_on_view.h"
#include "frame/session.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QTableView;

namespace qorvel::gui {

class PlanView;
class QtStepHost;
class SectionPlotView;
class SectionTableModel;
class UserInteraction;

class SectionViewer final : public QWidget {
    Q_OBJECT

public:
    // `session` gives the export's save dialog the attached drawing's folder when it has none.
    SectionViewer(UserInteraction& ui, const Session& session, QWidget* parent = nullptr);
    ~SectionViewer() override;

    // Shows the sections of a project, the first one selected.
    void SetSections(std::shared_ptr<const SectionsOnView> sections);
    // Places the shown window inside the available screen of `strip` (the always-on-top main
    // window), above or below it, where there is more room, so that the strip covers neither its
    // column headers nor its buttons; as large as it asks for where the room allows.
    void PlaceClearOf(const QWidget& strip);

    // Steps through the listed sections; nothing beyond the first or the last.
    void StepBy(int delta);
    void ShowFirst();
    void ShowLast();
    // Shows the section the jump box's text names; false when none does.
    bool JumpTo(const QString& text);
    void ShowProblemsOnly(bool only);
    void SetExaggeration(double exaggeration);
    // Exports the section shown, or every section, to a file the user chooses.
    void ExportShown();
    void ExportAll();

    // The section shown, by its place among all sections; nothing when none is.
    std::optional<std::size_t> currentSection() const { return current_; }
    std::size_t listedCount() const;
    const SectionsOnView* sections() const { return sections_.get(); }
    SectionPlotView& plot() { return *plot_; }
    PlanView& plan() { return *plan_; }

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowRow(int row);
    void ShowSection(std::optional<std::size_t> section);
    void Export(std::vector<std::size_t> indices, std::string_view usualName);

    UserInteraction& ui_;
    std::shared_ptr<const SectionsOnView> sections_;
    std::optional<std::size_t> current_;
    SectionTableModel* model_ = nullptr;
    QTableView* list_ = nullptr;
    QLineEdit* jumpBox_ = nullptr;
    QCheckBox* problemsOnly_ = nullptr;
    QComboBox* exaggeration_ = nullptr;
    SectionPlotView* plot_ = nullptr;
    PlanView* plan_ = nullptr;
    QLabel* problems_ = nullptr;    // the problems of the section shown
    QLabel* position_ = nullptr;    // "第 3 / 52 个断面"
    QLabel* pointInfo_ = nullptr;   // the surveyed point under the mouse
    QProgressBar* progress_ = nullptr;
    std::unique_ptr<QtStepHost> host_;  // the export's dialogs, messages and progress
};

}  // namespace qorvel::gui
