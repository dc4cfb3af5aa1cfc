#pragma once

#include <cstdint>
#include <string>

#include "engine/cache_cleaning.h"
#include "engine/freed_space.h"

// The program's own texts, in one place: the captions the load puts in place, the status line and its progress,
// the log's and the measurement's record lines, the message boxes and the tray's tip. Users know them by heart, so
// they stay as they are; the engine and the shell report facts, and the window tells them in these words.
namespace zelmora::texts {

// The window's title and the captions set at load; the About window's title.
inline constexpr const char* kTitle = "ZelmoraV2.0";
inline constexpr const char* kCleanNow = "立即清理";
inline constexpr const char* kAutoClear = "自动清除";
inline constexpr const char* kStartAtLogOn = "开机自动启动";
inline constexpr const char* kAboutTitle = "关于版本";

// A cycle's outcome in the status line, after its time; the log takes a successful one too.
inline constexpr const char* kPictureInUse = "可能图片正在使用，请关闭 微博桌面 的 【图片查看】窗口";
inline constexpr const char* kNoCache = "新浪微博缓存路径不存在！";
// "删除成功!已释放 5MB 空间."
std::string Freed(WholeUnits size);
// Follows the outcome where the settings could not be saved.
inline constexpr const char* kNotSaved = " 设置未能保存！";
// "正在清理… 已删除 12345 个文件", or while the cache is still being measured "… 已统计 12345 个文件".
std::string Progress(const CleaningProgress& progress);

// The status line for a save or a shortcut that failed.
std::string SettingsNotWritten(const std::string& path);
inline constexpr const char* kShortcutNotWritten = "无法写入开机自动启动的快捷方式！";
inline constexpr const char* kShortcutNotDeleted = "无法删除开机自动启动的快捷方式！";

// Message boxes.
std::string FolderUnreadable(const std::string& path);
std::string PageNotOpened(const std::string& url);
std::string ProgramFailure(const std::string& failure);

// The measurement's record of a folder: its path, its size in bytes and "Byte" ("...\a 512Byte").
std::string FolderLine(const std::string& path, int64_t bytes);

// The tray icon's tip.
inline constexpr const char* kTrayTip = "使用系统托盘程序";

}  // namespace zelmora::texts
