// Times the removal of 5,000 files in 200 folders three ways, on identical
// trees in the same run: SaverHelper.exe DeleteSaved, a minimal
// FindFirstFileA/DeleteFileA loop of ours, and "rd /s /q" of the system's
// cmd. Each is a whole process, start included; medians of several rounds.
#include <shlobj.h>
#include <string.h>

#include "bench.h"
#include "wine_prefix.h"

namespace {

void RemoveMinimal(const std::string& folder) {
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &data);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (!strcmp(data.cFileName, ".") || !strcmp(data.cFileName, "..")) continue;
      std::string path = folder + "\\" + data.cFileName;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveMinimal(path);
      else
        DeleteFileA(path.c_str());
    } while (FindNextFileA(search, &data));
    FindClose(search);
  }
  RemoveDirectoryA(folder.c_str());
}

// 20 folders of 9 subfolders each: 200 folders, 25 small files in each.
void BuildTree(const std::string& root) {
  CreateDirectoryA(root.c_str(), nullptr);
  auto fill = [](const std::string& folder) {
    CreateDirectoryA(folder.c_str(), nullptr);
    for (int f = 0; f < 25; ++f) {
      char name[32];
      snprintf(name, sizeof name, "\\slot%02d.sav", f);
      HANDLE file = CreateFileA((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
      DWORD written;
      WriteFile(file, name, 12, &written, nullptr);
      CloseHandle(file);
    }
  };
  for (int a = 0; a < 20; ++a) {
    std::string top = root + "\\group" + std::to_string(a);
    fill(top);
    for (int b = 0; b < 9; ++b) fill(top + "\\set" + std::to_string(b));
  }
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

int main(int argc, char** argv) {
  if (argc > 2 && !strcmp(argv[1], "--minimal")) {
    RemoveMinimal(argv[2]);
    return 0;
  }
  int rounds = argc > 1 ? atoi(argv[1]) : 5;
  char documents[MAX_PATH];
  SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, documents);
  // The trees are built and removed here: never outside the sealed prefix.
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string tempFolder(temp, strlen(temp) - 1);
  if (!wineprefix::InsidePrefix(documents) || !wineprefix::InsidePrefix(tempFolder)) {
    fprintf(stderr, "%s or %s leads out of the sealed Wine prefix: refusing to delete there\n", documents, temp);
    return 1;
  }
  std::string saved = std::string(documents) + "\\Quorvane Halvenstrand";
  std::string minimal = std::string(temp) + "delete_bench_minimal", rd = std::string(temp) + "delete_bench_rd";

  std::string self = bench::SelfPath();
  std::string helper = bench::SelfFolder() + "SaverHelper.exe";

  std::vector<double> helperMs, minimalMs, rdMs;
  for (int round = 0; round < rounds; ++round) {
    BuildTree(saved);
    BuildTree(minimal);
    BuildTree(rd);
    // Each round starts with another method, so that none always runs first
    // after the trees were written.
    for (int turn = 0; turn < 3; ++turn) {
      switch ((round + turn) % 3) {
        case 0:
          helperMs.push_back(bench::RunMs(helper, bench::Quoted(helper) + " DeleteSaved"));
          break;
        case 1:
          minimalMs.push_back(bench::RunMs(self, bench::Quoted(self) + " --minimal " + bench::Quoted(minimal)));
          break;
        case 2:
          rdMs.push_back(bench::RunMs("", "cmd.exe /c rd /s /q " + bench::Quoted(rd)));
          break;
      }
    }
    if (Exists(saved) || Exists(minimal) || Exists(rd)) fprintf(stderr, "a tree was not removed completely\n");
  }
  double h = bench::Median(helperMs), m = bench::Median(minimalMs), r = bench::Median(rdMs);
  printf("removal of 5,000 files in 200 folders, median of %d\n", rounds);
  printf("  SaverHelper.exe DeleteSaved: %8.1f ms\n", h);
  printf("  minimal FindFirstFileA loop: %8.1f ms\n", m);
  printf("  cmd rd /s /q:                %8.1f ms\n", r);
  printf("  ratio DeleteSaved / minimal loop: %.2f (target 1.1 at most)\n", h / m);
  printf("  ratio rd /s /q / minimal loop:    %.2f\n", r / m);
  return 0;
}
