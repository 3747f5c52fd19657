// The shipped executable's own resources: the quill icon group the shell shows
// and the manifest that asks for visual styles, DPI awareness and long paths.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>

#include "win32/res/resource.h"

namespace {

#pragma pack(push, 2)
struct GroupIconEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bit_count;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

std::string ShippedExecutable() {
  std::string path = std::string("Z:") + QUILLON_EXE;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

class ProgramResources : public ::testing::Test {
 protected:
  void SetUp() override {
    module = LoadLibraryExA(ShippedExecutable().c_str(), nullptr,
                            LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module, nullptr) << ShippedExecutable();
  }
  void TearDown() override {
    if (module) FreeLibrary(module);
  }
  std::string Bytes(LPCSTR name, LPCSTR type) {
    HRSRC found = FindResourceA(module, name, type);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(module, found);
    const auto* data = static_cast<const char*>(LockResource(loaded));
    return data ? std::string(data, SizeofResource(module, found)) : std::string();
  }
  HMODULE module = nullptr;
};

BOOL CALLBACK TakeFirstName(HMODULE, LPCSTR, LPSTR name, LONG_PTR first) {
  *reinterpret_cast<LPSTR*>(first) = name;
  return FALSE;
}

TEST_F(ProgramResources, TheFirstIconGroupIsTheQuillInEverySizeTheShellAsksFor) {
  LPSTR first = nullptr;
  EnumResourceNamesA(module, reinterpret_cast<LPCSTR>(RT_GROUP_ICON), TakeFirstName,
                     reinterpret_cast<LONG_PTR>(&first));
  ASSERT_TRUE(IS_INTRESOURCE(first));
  EXPECT_EQ(reinterpret_cast<ULONG_PTR>(first), static_cast<ULONG_PTR>(IDI_QUILLON));

  const std::string group =
      Bytes(MAKEINTRESOURCEA(IDI_QUILLON), reinterpret_cast<LPCSTR>(RT_GROUP_ICON));
  ASSERT_GE(group.size(), 6u);
  const WORD count = *reinterpret_cast<const WORD*>(group.data() + 4);
  ASSERT_EQ(group.size(), 6 + count * sizeof(GroupIconEntry));
  std::set<int> sizes;
  for (WORD i = 0; i < count; ++i) {
    GroupIconEntry entry;
    memcpy(&entry, group.data() + 6 + i * sizeof entry, sizeof entry);
    sizes.insert(entry.width == 0 ? 256 : entry.width);
    EXPECT_EQ(entry.bit_count, 32) << "with an alpha channel";
    const std::string image = Bytes(MAKEINTRESOURCEA(entry.id), reinterpret_cast<LPCSTR>(RT_ICON));
    EXPECT_EQ(image.size(), entry.bytes);
  }
  EXPECT_EQ(sizes, (std::set<int>{16, 20, 24, 32, 48, 64, 256}));

  // Windows can make icons of it: the 32-pixel image with transparent corners.
  HICON icon =
      static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(IDI_QUILLON), IMAGE_ICON, 32, 32, 0));
  ASSERT_NE(icon, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(icon, &info));
  BITMAP bitmap{};
  GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
  EXPECT_EQ(bitmap.bmWidth, 32);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  DestroyIcon(icon);
}

TEST_F(ProgramResources, TheManifestAsksForVisualStylesPerMonitorDpiAndLongPaths) {
  const std::string manifest = Bytes(MAKEINTRESOURCEA(1), reinterpret_cast<LPCSTR>(RT_MANIFEST));
  ASSERT_FALSE(manifest.empty());
  for (const char* wanted : {
           "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
           "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // Windows 7
           "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // Windows 8
           "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // Windows 8.1
           "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // Windows 10 and 11
           ">PerMonitorV2, PerMonitor</dpiAwareness>",
           ">true/pm</dpiAware>",
           ">true</longPathAware>",
       })
    EXPECT_NE(manifest.find(wanted), std::string::npos) << wanted;
}

}  // namespace
