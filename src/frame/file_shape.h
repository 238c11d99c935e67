#pragma once
// Whether a file given for a role can be a file of that role, judged by what its records hold,
// before a step reads anything of it. Every file of the pipeline holds its coordinates in fixed
// fields: a detail point its easting and northing in fields 2 and 3, a station label the
// insertion point in fields 2 and 3, a section line its two ends in fields 1 to 4. A file most
// of whose records hold no number there (an empty field, a point code, a station text) was
// chosen for the wrong role: read leniently, its empty coordinates would
// become zeros and the step would "complete" on nonsense. Such a file is refused, naming it,
// the first record that does not fit and what the file looks like instead.
//
// Only a file that cannot be right is refused: a field that begins with a number counts as a
// coordinate ("43825x.928" is the lenient reading's to warn of), damaged records (a few, or
// records ending before the field) are the step's to report where it reads them, and files that share a shape (the detail points and
// the centre stakes, the section lines and the matched ones) pass for one another; a step that
// then finds nothing to do says so (StepResult::caution).

#include <optional>
#include <string>

#include "core/data_file.h"
#include "frame/step_catalogue.h"

namespace qorvel {

// Throws a StepError when `file` cannot be a file of `role`; roles without coordinates (the
// station membership file, the reports) take any file. Judged on the first 1,000 records.
void RefuseFileUnlikeItsRole(const DataFile& file, FileRole role);

// What most of `file`'s records look like, "断面线文件或匹配桩号后的断面线文件"; nothing when
// they look like no file of the pipeline.
std::optional<std::string> WhatFileLooksLike(const DataFile& file);

}  // namespace qorvel
