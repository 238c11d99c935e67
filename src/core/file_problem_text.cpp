#include "core/file_problem_text.h"

namespace qorvel {

using platform::FileProblem;

std::string ReadProblemText(const platform::FileError& error) {
    switch (error.problem()) {
        case FileProblem::NotFound: return "文件不存在";
        case FileProblem::NoPermission: return "没有读取该文件的权限";
        case FileProblem::IsFolder: return "这是一个文件夹，不是文件";
        case FileProblem::NotAFolder: return "路径中有一部分不是文件夹";
        case FileProblem::NotAFile: return "这是设备或其他特殊文件，不是可以读取的数据文件";
        case FileProblem::InUse: return "该文件正被其他程序独占打开（共享冲突），请先在那个程序中关闭它";
        case FileProblem::NameTooLong: return "文件名或路径过长";
        default: return "无法读取（" + error.systemText() + "）";
    }
}

std::string WriteProblemText(const platform::FileError& error) {
    switch (error.problem()) {
        case FileProblem::NotFound: return "保存位置的文件夹不存在";
        case FileProblem::NotAFolder: return "保存位置的路径中有一部分不是文件夹";
        case FileProblem::NoPermission: return "没有写入该位置的权限";
        case FileProblem::DiskFull: return "磁盘空间不足";
        case FileProblem::ReadOnlyVolume: return "该位置只读";
        case FileProblem::IsFolder: return "这是一个文件夹，不是文件";
        case FileProblem::ReadOnly: return "该文件为只读文件，不能覆盖";
        case FileProblem::InUse: return "该文件正被其他程序打开（共享冲突），请先在那个程序中关闭它";
        case FileProblem::TooManyLinks: return "符号链接的层数过多（或链接成环）";
        case FileProblem::NameTooLong: return "文件名或路径过长";
        case FileProblem::ClosedPipe: return "接收输出的一方已关闭（管道已断开）";
        case FileProblem::TooLarge: return "文件超出允许的大小";
        default: return "无法写入（" + error.systemText() + "）";
    }
}

}  // namespace qorvel
