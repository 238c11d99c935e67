#pragma once
// What a step hands back when it has run: how it ended, the file it wrote, its closing message
// and count, and for the checks the problems they found, as values. The window shows the
// message and opens the file, the command line prints the message, the run from drawing to
// result collects counts and problems for its own closing message; none of them reads the text
// of a message or a report back. Texts are UTF-8.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace qorvel {

class StepHost;
struct Session;
struct Settings;

enum class StepOutcome {
    Completed,  // the output was written and the closing message shown
    Cancelled,  // the user cancelled a dialog
    Warned,     // the step ended on one of its warnings; nothing was written
    Failed,     // a failure was reported; nothing was written
};

// One problem a check found, as a record: its reason and what it concerns. The run's closing
// message, the terminal and the viewer each name it in their own words from these fields.
struct CheckProblem {
    enum class Subject {
        Label,        // a station label (step 5): `station` is its text as written, "K0+340"
        Stake,        // a centre stake (step 7): `station` is its chainage, "660"
        Section,      // a section (step 12): `station` is its chainage
        StationPair,  // two consecutive stations (step 12): `station` and `nextStation`
    };
    std::string reason{};  // "缺少中桩", "高程突变", ...
    Subject subject = Subject::Section;
    std::string station{};
    std::string nextStation{};
    std::string side{};                 // 左, 右, 第一侧, 第二侧; empty when the problem has none
    std::vector<std::string> values{};  // the figures as the report writes them
};

// What a problem concerns as the run's closing message names it: "K0+340" (a label),
// "中桩 660" (a stake), "桩号 660,左,12.50,3.20" (a section: chainage, side, figures as the
// report's fields), "桩号 1100,1120" (a pair of stations).
std::string ProblemConcerns(const CheckProblem& problem);

// Why a completed step's result is likely not what the surveyor wanted: its inputs gave it
// nothing to do (0 stakes from labels and points that both have records, no line through a
// stake, no point on a line, every section empty) or work no right pair of files gives (each
// section line through a dozen "stakes"). `cause` names the likely cause in one sentence: a
// wrong file for a role, files in the wrong order, a tolerance too small, plain-number labels
// without "图上里程为数值".
struct StepCaution {
    std::string cause;
};

struct StepResult {
    StepOutcome outcome = StepOutcome::Failed;
    std::string output;   // the file written, when the step completed
    std::string summary;  // the closing message, when it completed
    std::size_t count = 0;  // the number the closing message gives first
    std::vector<CheckProblem> problems;
    // Numbers read leniently from text that is not a plain number ("43825x.928" read as 43825):
    // one line for each of the first few, then the count. The step still completed.
    std::vector<std::string> notes;
    // Set when the step completed on inputs that are likely not what it asks for: they gave it
    // nothing to do, or work no right pair of files gives. Summary, output and outcome stay as
    // they are; each front end shows the cause after the summary, and a run stops there.
    std::optional<StepCaution> caution;

    bool Completed() const { return outcome == StepOutcome::Completed; }
};

using StepProcedure = StepResult (*)(StepHost& host, Session& session, const Settings& settings);

}  // namespace qorvel
