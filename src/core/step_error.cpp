#include "core/step_error.h"

namespace qorvel {

namespace {
std::string compose(const std::string& file, std::size_t line, int field, const std::string& reason) {
    std::string text;
    if (!file.empty()) {
        text += "文件“" + file + "”";
        if (line != StepError::kNoLine) text += "第 " + std::to_string(line) + " 行";
        if (field != StepError::kNoField) {
            if (line != StepError::kNoLine) text += "，";
            text += "字段 " + std::to_string(field);
        }
        text += "：";
    }
    return text + reason;
}
}  // namespace

StepError::StepError(std::string file, std::size_t line, int field, std::string reason)
    : std::runtime_error(compose(file, line, field, reason)),
      message_(compose(file, line, field, reason)),  // before file_ takes the name
      file_(std::move(file)),
      line_(line),
      field_(field),
      reason_(std::move(reason)) {}

StepError::StepError(std::string reason) : StepError(std::string{}, kNoLine, kNoField, std::move(reason)) {}

}  // namespace qorvel
