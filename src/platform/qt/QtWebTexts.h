#pragma once

// Numbers of the texts the web view's own dialogs and panels show.
namespace corvano::qt::webtext {

constexpr int kViewSource = 35;
constexpr int kSavePage = 145;
constexpr int kClose = 228;

constexpr int kSaveDownloadAs = 361;
constexpr int kDownloading = 362;
constexpr int kDownloaded = 363;
constexpr int kDownloadFailed = 364;
constexpr int kDownloadCancelled = 365;
constexpr int kCancel = 366;
constexpr int kOpen = 367;
constexpr int kOpenFolder = 368;
constexpr int kFileNotWritten = 369;
constexpr int kDiskFull = 370;
constexpr int kFolderRefused = 371;
constexpr int kNetworkFailed = 372;
constexpr int kServerFailed = 373;
constexpr int kUnknownError = 374;

constexpr int kLoginTitle = 375;
constexpr int kLoginSite = 376;
constexpr int kLoginProxy = 377;
constexpr int kLoginRealm = 378;
constexpr int kLoginUser = 379;
constexpr int kLoginPassword = 380;
constexpr int kLogIn = 381;

constexpr int kOpenLinkInNewWindow = 399;

}  // namespace corvano::qt::webtext
