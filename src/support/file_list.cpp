#include "support/file_list.h"

#include "platform/platform.h"
#include "support/path_text.h"

void FileList::AddName(const char* name) { PushFront(new NameNode(name)); }

void FileList::AddSorted(const char* name, int direction) {
  NameNode* node = new NameNode;
  node->SetName(name);
  NameNode* before = Head();
  while (before && platform::lstrcmpiA(name, before->Name()) * direction >= 0) before = before->Next();
  if (before)
    InsertBefore(node, before);
  else
    Append(node);
}

void FileList::AddAscending(const char* name) { AddSorted(name, 1); }

void FileList::AddDescending(const char* name) { AddSorted(name, -1); }

namespace {
// Owns one directory search handle; closing is idempotent.
class FindSearch {
 public:
  FindSearch(const char* specification, platform::FindData* data)
      : handle_(platform::FindFirstFileA(specification, data)) {}
  ~FindSearch() { Close(); }
  FindSearch(const FindSearch&) = delete;
  FindSearch& operator=(const FindSearch&) = delete;

  bool IsOpen() const { return handle_ != platform::InvalidFindHandle(); }
  bool Next(platform::FindData* data) { return IsOpen() && platform::FindNextFileA(handle_, data); }
  void Close() {
    if (IsOpen()) platform::FindClose(handle_);
    handle_ = platform::InvalidFindHandle();
  }

 private:
  platform::FindHandle handle_;
};
}  // namespace

void FileList::Scan(const char* specification, int order, bool directoriesOnly) {
  PathText entry;
  Clear();
  platform::FindData data;
  FindSearch search(specification, &data);
  if (!search.IsOpen()) return;
  bool first = true;
  do {
    entry.Assign(data.name);
    bool isDirectory = (data.attributes & platform::kAttributeDirectory) != 0;
    if (isDirectory) entry.EnsureTrailingBackslash();
    if (directoriesOnly && !isDirectory) continue;
    if (first || order == 0)
      AddName(entry.Text());
    else if (order > 0)
      AddAscending(entry.Text());
    else
      AddDescending(entry.Text());
    first = false;
  } while (search.Next(&data));
}

void FileList::List(const char* directory, const char* pattern, int order, bool directoriesOnly) {
  PathText specification(directory);
  specification.EnsureTrailingBackslash();
  specification.Append(pattern);
  Scan(specification.Text(), order, directoriesOnly);
  Release(Find(".\\"));
  Release(Find("..\\"));
}
