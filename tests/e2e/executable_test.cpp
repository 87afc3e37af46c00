// Facts about SaverHelper.exe as a file: machine, subsystem, imports, size
// and resources, read from the file itself.
#include "e2e.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <vector>

namespace {

std::vector<unsigned char> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class Image {
 public:
  explicit Image(std::vector<unsigned char> bytes) : bytes_(std::move(bytes)) {}

  bool Valid() const {
    if (bytes_.size() < sizeof(IMAGE_DOS_HEADER)) return false;
    const IMAGE_DOS_HEADER* dos = At<IMAGE_DOS_HEADER>(0);
    return dos && dos->e_magic == IMAGE_DOS_SIGNATURE && Headers() && Headers()->Signature == IMAGE_NT_SIGNATURE;
  }
  const IMAGE_NT_HEADERS32* Headers() const { return At<IMAGE_NT_HEADERS32>(At<IMAGE_DOS_HEADER>(0)->e_lfanew); }

  // Upper-case names of the imported DLLs.
  std::set<std::string> Imports() const {
    std::set<std::string> names;
    const IMAGE_DATA_DIRECTORY& directory = Headers()->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    size_t offset = Offset(directory.VirtualAddress);
    for (;; offset += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
      const IMAGE_IMPORT_DESCRIPTOR* descriptor = At<IMAGE_IMPORT_DESCRIPTOR>(offset);
      if (!descriptor || !descriptor->Name) break;
      std::string name(reinterpret_cast<const char*>(&bytes_[Offset(descriptor->Name)]));
      std::transform(name.begin(), name.end(), name.begin(), ::toupper);
      names.insert(name);
    }
    return names;
  }

 private:
  template <typename T>
  const T* At(size_t offset) const {
    return offset + sizeof(T) <= bytes_.size() ? reinterpret_cast<const T*>(&bytes_[offset]) : nullptr;
  }
  size_t Offset(DWORD rva) const {
    const IMAGE_NT_HEADERS32* headers = Headers();
    size_t first = At<IMAGE_DOS_HEADER>(0)->e_lfanew + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) +
                   headers->FileHeader.SizeOfOptionalHeader;
    for (int i = 0; i < headers->FileHeader.NumberOfSections; ++i) {
      const IMAGE_SECTION_HEADER* section = At<IMAGE_SECTION_HEADER>(first + i * sizeof(IMAGE_SECTION_HEADER));
      if (section && rva >= section->VirtualAddress && rva < section->VirtualAddress + section->SizeOfRawData)
        return rva - section->VirtualAddress + section->PointerToRawData;
    }
    return bytes_.size();
  }
  std::vector<unsigned char> bytes_;
};

TEST(Executable, IsASmallGuiProgramFor32BitX86WithSystemImportsOnly) {
  Image image(ReadFile(e2e::HelperPath()));
  ASSERT_TRUE(image.Valid());
  EXPECT_EQ(IMAGE_FILE_MACHINE_I386, image.Headers()->FileHeader.Machine);
  EXPECT_EQ(IMAGE_NT_OPTIONAL_HDR32_MAGIC, image.Headers()->OptionalHeader.Magic);
  EXPECT_EQ(IMAGE_SUBSYSTEM_WINDOWS_GUI, image.Headers()->OptionalHeader.Subsystem);
  const std::set<std::string> allowed = {"KERNEL32.DLL", "USER32.DLL", "ADVAPI32.DLL", "MSVCRT.DLL"};
  std::set<std::string> imports = image.Imports();
  EXPECT_FALSE(imports.empty());
  for (const std::string& name : imports) EXPECT_TRUE(allowed.count(name)) << name << " is imported";
  EXPECT_FALSE(imports.count("SHFOLDER.DLL"));  // loaded at run time only
  EXPECT_LE(ReadFile(e2e::HelperPath()).size(), 64u * 1024u);
}

BOOL CALLBACK CollectType(HMODULE, LPSTR type, LONG_PTR list) {
  reinterpret_cast<std::vector<ULONG_PTR>*>(list)->push_back(reinterpret_cast<ULONG_PTR>(type));
  return TRUE;
}
BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR list) {
  reinterpret_cast<std::vector<ULONG_PTR>*>(list)->push_back(reinterpret_cast<ULONG_PTR>(name));
  return TRUE;
}

#pragma pack(push, 2)
struct GroupEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
struct GroupHeader {
  WORD reserved, type, count;
};
#pragma pack(pop)

TEST(Executable, HoldsExactlyIconGroup111WithThree48PixelImages) {
  HMODULE module = LoadLibraryExA(e2e::HelperPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(nullptr, module);
  std::vector<ULONG_PTR> types;
  EnumResourceTypesA(module, CollectType, reinterpret_cast<LONG_PTR>(&types));
  std::sort(types.begin(), types.end());
  EXPECT_EQ((std::vector<ULONG_PTR>{3 /* icon */, 14 /* icon group */}), types);

  std::vector<ULONG_PTR> groups;
  EnumResourceNamesA(module, RT_GROUP_ICON, CollectName, reinterpret_cast<LONG_PTR>(&groups));
  EXPECT_EQ(std::vector<ULONG_PTR>{111}, groups);

  std::vector<ULONG_PTR> icons;
  EnumResourceNamesA(module, RT_ICON, CollectName, reinterpret_cast<LONG_PTR>(&icons));
  EXPECT_EQ(3u, icons.size());

  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(111), RT_GROUP_ICON);
  ASSERT_NE(nullptr, found);
  const GroupHeader* group = static_cast<const GroupHeader*>(LockResource(LoadResource(module, found)));
  ASSERT_NE(nullptr, group);
  ASSERT_EQ(3, group->count);
  const GroupEntry* entries = reinterpret_cast<const GroupEntry*>(group + 1);
  std::set<int> depths;
  for (int i = 0; i < group->count; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(48, entries[i].width);
    EXPECT_EQ(48, entries[i].height);
    depths.insert(entries[i].bitCount);
    HRSRC image = FindResourceA(module, MAKEINTRESOURCEA(entries[i].id), RT_ICON);
    ASSERT_NE(nullptr, image);
    const BITMAPINFOHEADER* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, image)));
    ASSERT_NE(nullptr, header);
    EXPECT_EQ(48, header->biWidth);
    EXPECT_EQ(96, header->biHeight);  // colour rows and mask rows
    EXPECT_EQ(entries[i].bitCount, header->biBitCount);
    if (header->biBitCount == 32) {
      // A real alpha channel: transparent corners, opaque middle, soft edges.
      const BYTE* pixels = reinterpret_cast<const BYTE*>(header + 1);
      std::set<int> alphas;
      for (int p = 0; p < 48 * 48; ++p) alphas.insert(pixels[p * 4 + 3]);
      EXPECT_TRUE(alphas.count(0));
      EXPECT_TRUE(alphas.count(255));
      EXPECT_GT(alphas.size(), 3u);
    }
  }
  EXPECT_EQ((std::set<int>{4, 8, 32}), depths);
  FreeLibrary(module);
}

}  // namespace
