#include "frame/run_files.h"

#include <algorithm>

#include "core/step_error.h"

namespace qorvel {

std::shared_ptr<const DataFile> RunFiles::Find(const std::string& path) {
    for (const std::shared_ptr<DataFile>& file : files_)
        if (file->name() == path) {
            file->RestartLenientReads();
            return file;
        }
    return nullptr;
}

void RunFiles::Keep(std::shared_ptr<DataFile> file) {
    if (std::find(readLater_.begin(), readLater_.end(), file->name()) == readLater_.end()) return;
    std::erase_if(files_, [&](const std::shared_ptr<DataFile>& kept) { return kept->name() == file->name(); });
    files_.push_back(std::move(file));
}

std::shared_ptr<const HeldSections> RunFiles::Sections(const std::shared_ptr<const DataFile> (&files)[4],
                                                         const SectionResultOptions& options, double& carriedAzimuth,
                                                         ProgressSink& progress) {
    const auto mutableFile = [&](const std::shared_ptr<const DataFile>& file) -> DataFile* {
        for (const std::shared_ptr<DataFile>& kept : files_)
            if (kept == file) return kept.get();
        return nullptr;
    };
    const auto same = [&](const HeldSections& sections) {
        return sections.members == files[0] && sections.stakes == files[1] && sections.points == files[2] &&
               sections.lines == files[3] && sections.options.stakeAvoidDistance == options.stakeAvoidDistance &&
               sections.options.sides == options.sides;
    };
    if (sections_ && same(*sections_)) {
        for (int k = 0; k < 4; ++k)
            if (DataFile* file = mutableFile(files[k])) file->RestartLenientReads(sections_->noted[k]->Copy());
        carriedAzimuth = sections_->azimuthAfter;
        return sections_;
    }
    // Only files the run holds: their logs are its own to hand on.
    for (const std::shared_ptr<const DataFile>& file : files)
        if (!mutableFile(file)) return nullptr;
    auto sections = std::make_shared<HeldSections>();
    sections->members = files[0];
    sections->stakes = files[1];
    sections->points = files[2];
    sections->lines = files[3];
    sections->options = options;
    double azimuth = carriedAzimuth;
    try {
        sections->built = BuildSections({*files[0], *files[1], *files[2], *files[3]}, options, azimuth, progress);
    } catch (const StepError&) {
        // The step works as a single step; the logs start again for it.
        for (const std::shared_ptr<const DataFile>& file : files) mutableFile(file)->RestartLenientReads();
        return nullptr;
    }
    for (int k = 0; k < 4; ++k) sections->noted[k] = files[k]->lenientReads().Copy();
    carriedAzimuth = sections->azimuthAfter = azimuth;
    sections_ = sections;
    return sections_;
}

}  // namespace qorvel
