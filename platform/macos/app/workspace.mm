#include "app_services.h"

#import <AppKit/AppKit.h>
#include <dispatch/dispatch.h>

#include "activation.h"
#include "ns_text.h"

namespace quillon::platform::macos {
namespace {

NSURL* fileURL(const std::filesystem::path& path) {
  NSString* text = nsString(path.string());
  return text != nil ? [NSURL fileURLWithPath:text] : nil;
}

NSRunningApplication* application(int pid) {
  return [NSRunningApplication runningApplicationWithProcessIdentifier:pid];
}

}  // namespace

bool AppKitAppWorkspace::openURL(const std::string& url) {
  NSString* text = nsString(url);
  NSURL* target = text != nil ? [NSURL URLWithString:text] : nil;
  if (target == nil) return false;
  [NSWorkspace.sharedWorkspace openURL:target];
  return true;
}

void AppKitAppWorkspace::revealInFinder(const std::vector<std::filesystem::path>& items) {
  NSMutableArray<NSURL*>* urls = [NSMutableArray arrayWithCapacity:items.size()];
  for (const std::filesystem::path& item : items) {
    if (NSURL* url = fileURL(item)) [urls addObject:url];
  }
  [NSWorkspace.sharedWorkspace activateFileViewerSelectingURLs:urls];
}

void AppKitAppWorkspace::recycle(const std::filesystem::path& item,
                                 std::function<void(OsResult)> completion) {
  NSURL* url = fileURL(item);
  if (url == nil) {
    completion(OsError{"The file name is not valid UTF-8."});
    return;
  }
  [NSWorkspace.sharedWorkspace recycleURLs:@[ url ]
                         completionHandler:^(NSDictionary<NSURL*, NSURL*>*, NSError* error) {
                           // Runs on a queue of the workspace's choosing; the app may quit in
                           // the completion, which AppKit allows only on the main thread.
                           OsResult result;
                           if (error != nil) result = OsError{fromNS(error.localizedDescription)};
                           dispatch_async(dispatch_get_main_queue(), ^{
                             completion(result);
                           });
                         }];
}

std::vector<RunningApp> AppKitAppWorkspace::runningApplications(
    const std::string& bundleIdentifier) {
  std::vector<RunningApp> out;
  NSString* identifier = nsString(bundleIdentifier);
  if (identifier == nil) return out;
  for (NSRunningApplication* app in
       [NSRunningApplication runningApplicationsWithBundleIdentifier:identifier]) {
    out.push_back({app.processIdentifier, bundleIdentifier});
  }
  return out;
}

void AppKitAppWorkspace::terminate(int pid) {
  [application(pid) terminate];
}

void AppKitAppWorkspace::forceTerminate(int pid) {
  [application(pid) forceTerminate];
}

bool AppKitAppWorkspace::isTerminated(int pid) {
  NSRunningApplication* app = application(pid);
  // Nil once the process is gone.
  return app == nil || app.terminated;
}

void AppKitAppWorkspace::activate(int pid) {
  activateApp(pid);
}

void AppKitAppWorkspace::activateSelf() {
  activateThisApp();
}

void AppKitAppWorkspace::terminateSelf() {
  [NSApp terminate:nil];
}

}  // namespace quillon::platform::macos
