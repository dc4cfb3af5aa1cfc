#include "ui/program_texts.h"

#include "base/number_text.h"

namespace zelmora::texts {

namespace {

// "5MB", "1023KB".
std::string SizeText(WholeUnits size) {
    return DecimalText(static_cast<double>(size.amount)) + (size.megabytes ? "MB" : "KB");
}

}  // namespace

std::string Freed(WholeUnits size) {
    return "删除成功!已释放 " + SizeText(size) + " 空间.";
}

std::string Progress(const CleaningProgress& progress) {
    if (progress.filesDeleted > 0)
        return "正在清理… 已删除 " + DecimalText(progress.filesDeleted) + " 个文件";
    return "正在清理… 已统计 " + DecimalText(progress.filesCounted) + " 个文件";
}

std::string SettingsNotWritten(const std::string& path) {
    return "无法写入设置文件：" + path;
}

std::string FolderUnreadable(const std::string& path) {
    return "无法读取文件夹：" + path;
}

std::string PageNotOpened(const std::string& url) {
    return "无法打开网页：" + url;
}

std::string ProgramFailure(const std::string& failure) {
    return "程序出错：" + failure;
}

std::string FolderLine(const std::string& path, int64_t bytes) {
    return path + " " + DecimalText(static_cast<double>(bytes)) + "Byte";
}

}  // namespace zelmora::texts
