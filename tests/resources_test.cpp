// The resources of the built program, read back through the platform's own loader and compared
// with their documented contents, built here byte by byte.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "test_support.h"

namespace {

const WORD JAPANESE = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);     // 0x0411
const WORD ENGLISH_US = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US); // 0x0409

typedef std::vector<unsigned char> Bytes;

HMODULE Image() {
    static HMODULE image =
        LoadLibraryExW(PathFromEnvironment("KALVORA_EXE").c_str(), nullptr,
                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    return image;
}

Bytes ResourceBytes(LPCWSTR type, WORD id, WORD language) {
    HRSRC found = FindResourceExW(Image(), type, MAKEINTRESOURCEW(id), language);
    if (!found) return Bytes();
    const unsigned char *data =
        static_cast<const unsigned char *>(LockResource(LoadResource(Image(), found)));
    return Bytes(data, data + SizeofResource(Image(), found));
}

// Little-endian template writer.
struct Writer {
    Bytes bytes;
    void Word(unsigned value) {
        bytes.push_back(value & 0xFF);
        bytes.push_back((value >> 8) & 0xFF);
    }
    void Dword(std::uint32_t value) {
        Word(value & 0xFFFF);
        Word(value >> 16);
    }
    void Text(const std::wstring &text, bool terminated = true) {
        for (wchar_t c : text)
            Word(c);
        if (terminated) Word(0);
    }
    void AlignToDword() {
        while (bytes.size() % 4)
            bytes.push_back(0);
    }
};

std::wstring Utf16(const char *utf8) {
    wchar_t wide[256];
    int length = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, 256);
    return std::wstring(wide, length > 0 ? length - 1 : 0);
}

const char FILE_MENU[] = "ファイル(&F)";
const char QUIT_ITEM[] = "アプリケーションの終了(&X)";
const char HELP_MENU[] = "ヘルプ(&H)";
const char VERSION_ITEM[] = "バージョン情報(&A)...";
const char DIALOG_CAPTION[] = "バージョン情報";

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR found) {
    reinterpret_cast<std::vector<WORD> *>(found)->push_back(language);
    return TRUE;
}

BOOL CALLBACK CollectName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR found) {
    std::vector<WORD> languages;
    EnumResourceLanguagesW(module, type, name, CollectLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    std::string entry = IS_INTRESOURCE(name) ? std::to_string(LOWORD(name)) : "named";
    for (WORD language : languages) {
        char hex[8];
        wsprintfA(hex, ":%04x", language);
        entry += hex;
    }
    (*reinterpret_cast<std::map<int, std::vector<std::string>> *>(
        found))[IS_INTRESOURCE(type) ? LOWORD(type) : -1]
        .push_back(entry);
    return TRUE;
}

BOOL CALLBACK CollectType(HMODULE module, LPWSTR type, LONG_PTR found) {
    EnumResourceNamesW(module, type, CollectName, found);
    return TRUE;
}

TEST(Resources, ImageHoldsExactlyTheDocumentedResources) {
    ASSERT_NE(Image(), nullptr);
    std::map<int, std::vector<std::string>> inventory;
    EnumResourceTypesW(Image(), CollectType, reinterpret_cast<LONG_PTR>(&inventory));
    for (auto &entry : inventory)
        std::sort(entry.second.begin(), entry.second.end());

    std::vector<std::string> icons;
    for (int id = 1; id <= 16; ++id)
        icons.push_back(std::to_string(id) + ":0411");
    std::sort(icons.begin(), icons.end());
    const std::map<int, std::vector<std::string>> expected = {
        {3, icons},                     // RT_ICON: eight images for each group
        {4, {"109:0411"}},              // RT_MENU
        {5, {"103:0411"}},              // RT_DIALOG
        {6, {"7:0411"}},                // RT_STRING: the block of 96..111
        {9, {"109:0411"}},              // RT_ACCELERATOR
        {14, {"107:0411", "108:0411"}}, // RT_GROUP_ICON
        {24, {"1:0409"}},               // RT_MANIFEST
    };
    EXPECT_EQ(inventory, expected);
}

TEST(Resources, StringTableHoldsTheTitleAndClassName) {
    Writer block;
    for (int index = 0; index < 16; ++index) {
        const wchar_t *text = index == 103 - 96 ? L"Kalvora" : index == 109 - 96 ? L"KALVORA" : L"";
        block.Word(static_cast<unsigned>(wcslen(text)));
        block.Text(text, false);
    }
    EXPECT_EQ(ResourceBytes(RT_STRING, 7, JAPANESE), block.bytes);

    WCHAR text[100];
    EXPECT_EQ(LoadStringW(Image(), 103, text, 100), 7);
    EXPECT_STREQ(text, L"Kalvora");
    EXPECT_EQ(LoadStringW(Image(), 109, text, 100), 7);
    EXPECT_STREQ(text, L"KALVORA");
    for (UINT absent : {96u, 104u, 105u, 107u, 108u, 110u, 111u})
        EXPECT_EQ(LoadStringW(Image(), absent, text, 100), 0) << absent;
}

TEST(Resources, MenuHasFileQuitAndHelpVersion) {
    Writer menu;
    menu.Word(0); // version
    menu.Word(0); // header size
    menu.Word(MF_POPUP);
    menu.Text(Utf16(FILE_MENU));
    menu.Word(MF_END);
    menu.Word(105);
    menu.Text(Utf16(QUIT_ITEM));
    menu.Word(MF_POPUP | MF_END);
    menu.Text(Utf16(HELP_MENU));
    menu.Word(MF_END);
    menu.Word(104);
    menu.Text(Utf16(VERSION_ITEM));
    EXPECT_EQ(ResourceBytes(RT_MENU, 109, JAPANESE), menu.bytes);

    HMENU loaded = LoadMenuW(Image(), MAKEINTRESOURCEW(109));
    ASSERT_NE(loaded, nullptr);
    ASSERT_EQ(GetMenuItemCount(loaded), 2);
    WCHAR text[100];
    GetMenuStringW(loaded, 0, text, 100, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), Utf16(FILE_MENU));
    GetMenuStringW(loaded, 1, text, 100, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), Utf16(HELP_MENU));
    HMENU file = GetSubMenu(loaded, 0), help = GetSubMenu(loaded, 1);
    ASSERT_EQ(GetMenuItemCount(file), 1);
    ASSERT_EQ(GetMenuItemCount(help), 1);
    EXPECT_EQ(GetMenuItemID(file, 0), 105u);
    EXPECT_EQ(GetMenuItemID(help, 0), 104u);
    GetMenuStringW(file, 0, text, 100, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), Utf16(QUIT_ITEM));
    GetMenuStringW(help, 0, text, 100, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), Utf16(VERSION_ITEM));
    EXPECT_EQ(GetMenuState(file, 0, MF_BYPOSITION), static_cast<UINT>(MF_STRING));
    EXPECT_EQ(GetMenuState(help, 0, MF_BYPOSITION), static_cast<UINT>(MF_STRING));
    DestroyMenu(loaded);
}

TEST(Resources, AcceleratorsMapAltQuestionAndAltSlashToTheVersionCommand) {
    Writer table;
    table.Word(FALT); // character code, Alt alone
    table.Word('?');
    table.Word(104);
    table.Word(0);
    table.Word(FALT | 0x80); // the last entry
    table.Word('/');
    table.Word(104);
    table.Word(0);
    EXPECT_EQ(ResourceBytes(RT_ACCELERATOR, 109, JAPANESE), table.bytes);

    HACCEL loaded = LoadAcceleratorsW(Image(), MAKEINTRESOURCEW(109));
    ASSERT_NE(loaded, nullptr);
    ACCEL entries[4] = {};
    ASSERT_EQ(CopyAcceleratorTableW(loaded, entries, 4), 2);
    EXPECT_EQ(entries[0].fVirt, FALT);
    EXPECT_EQ(entries[0].key, '?');
    EXPECT_EQ(entries[0].cmd, 104);
    EXPECT_EQ(entries[1].fVirt, FALT);
    EXPECT_EQ(entries[1].key, '/');
    EXPECT_EQ(entries[1].cmd, 104);
    DestroyAcceleratorTable(loaded);
}

TEST(Resources, ManifestIsTheEmptyAssemblyInEightySixBytes) {
    const std::string text =
        "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">"
        "\r\n</assembly>";
    ASSERT_EQ(text.size(), 86u);
    EXPECT_EQ(ResourceBytes(MAKEINTRESOURCEW(24), 1, ENGLISH_US), Bytes(text.begin(), text.end()));
}

Bytes ExpectedDialogTemplate() {
    Writer t;
    t.Dword(0x00C800C0); // DS_SETFONT | DS_MODALFRAME | WS_CAPTION | WS_SYSMENU
    t.Dword(0);
    t.Word(4);
    t.Word(22);
    t.Word(17);
    t.Word(230);
    t.Word(75);
    t.Word(0); // no menu
    t.Word(0); // default class
    t.Text(Utf16(DIALOG_CAPTION));
    t.Word(9);
    t.Text(L"MS UI Gothic");

    struct Item {
        std::uint32_t style;
        int x, y, cx, cy;
        unsigned id, classAtom;
        std::wstring text;
        unsigned iconId;
    };
    const Item items[] = {
        {0x50000003, 14, 9, 16, 16, 2, 0x0082, L"", 107},
        {0x50020080, 49, 10, 119, 8, 0xFFFF, 0x0082, L"Kalvora Version 1.0", 0},
        {0x50020000, 49, 20, 119, 8, 0xFFFF, 0x0082, L"Copyright (C) 2026", 0},
        {0x50030001, 195, 6, 30, 11, 1, 0x0080, L"OK", 0},
    };
    for (const Item &item : items) {
        t.AlignToDword();
        t.Dword(item.style);
        t.Dword(0);
        t.Word(item.x);
        t.Word(item.y);
        t.Word(item.cx);
        t.Word(item.cy);
        t.Word(item.id);
        t.Word(0xFFFF);
        t.Word(item.classAtom);
        if (item.iconId) {
            t.Word(0xFFFF);
            t.Word(item.iconId);
        } else {
            t.Text(item.text);
        }
        t.Word(0); // no creation data
    }
    return t.bytes;
}

TEST(Resources, VersionDialogTemplateIsTheClassicLayout) {
    EXPECT_EQ(ResourceBytes(RT_DIALOG, 103, JAPANESE), ExpectedDialogTemplate());
}

struct IconImage {
    int size, bits, colours;
};
const IconImage ICON_IMAGES[8] = {{32, 4, 16}, {16, 4, 16}, {48, 8, 0},  {32, 8, 0},
                                  {16, 8, 0},  {48, 32, 0}, {32, 32, 0}, {16, 32, 0}};

#pragma pack(push, 2)
struct GroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bits;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

std::vector<GroupEntry> GroupEntries(WORD group) {
    Bytes directory = ResourceBytes(RT_GROUP_ICON, group, JAPANESE);
    std::vector<GroupEntry> entries;
    if (directory.size() < 6) return entries;
    WORD count = directory[4] | directory[5] << 8;
    EXPECT_EQ(directory.size(), 6u + 14u * count);
    EXPECT_EQ(directory[0] | directory[1] << 8, 0);
    EXPECT_EQ(directory[2] | directory[3] << 8, 1);
    for (WORD i = 0; i < count && 6u + 14u * (i + 1) <= directory.size(); ++i) {
        GroupEntry entry;
        memcpy(&entry, &directory[6 + 14 * i], 14);
        entries.push_back(entry);
    }
    return entries;
}

size_t RowBytes(int bits) { return (bits + 31) / 32 * 4; }

TEST(Resources, IconGroupsHoldEightImagesEachOfTheirOwn) {
    std::set<WORD> seen;
    for (WORD group : {107, 108}) {
        SCOPED_TRACE(group);
        std::vector<GroupEntry> entries = GroupEntries(group);
        ASSERT_EQ(entries.size(), 8u);
        for (int i = 0; i < 8; ++i) {
            SCOPED_TRACE(i);
            const IconImage &want = ICON_IMAGES[i];
            const GroupEntry &entry = entries[i];
            EXPECT_EQ(entry.width, want.size);
            EXPECT_EQ(entry.height, want.size);
            EXPECT_EQ(entry.colours, want.colours);
            EXPECT_EQ(entry.bits, want.bits);
            EXPECT_EQ(entry.planes, 1);
            EXPECT_TRUE(seen.insert(entry.id).second) << "image " << entry.id << " is shared";

            Bytes image = ResourceBytes(RT_ICON, entry.id, JAPANESE);
            ASSERT_EQ(image.size(), entry.bytes);
            ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
            BITMAPINFOHEADER header;
            memcpy(&header, image.data(), sizeof header);
            EXPECT_EQ(header.biSize, 40u);
            EXPECT_EQ(header.biWidth, want.size);
            EXPECT_EQ(header.biHeight, want.size * 2); // colour bitmap and mask
            EXPECT_EQ(header.biPlanes, 1);
            EXPECT_EQ(header.biBitCount, want.bits);
            EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
            const size_t tableEntries = want.bits == 4 ? 16 : want.bits == 8 ? 256 : 0;
            EXPECT_TRUE(header.biClrUsed == 0 || header.biClrUsed == tableEntries);
            const size_t colourBytes = RowBytes(want.size * want.bits) * want.size;
            const size_t maskBytes = RowBytes(want.size) * want.size;
            EXPECT_EQ(image.size(), 40 + 4 * tableEntries + colourBytes + maskBytes);

            if (want.bits == 32 && image.size() == 40 + colourBytes + maskBytes) {
                // Real alpha: opaque, transparent and partly transparent pixels, and the mask
                // marks exactly the fully transparent ones.
                int opaque = 0, clear = 0, partial = 0, maskMismatches = 0;
                for (int y = 0; y < want.size; ++y)
                    for (int x = 0; x < want.size; ++x) {
                        BYTE alpha = image[40 + (y * want.size + x) * 4 + 3];
                        opaque += alpha == 255;
                        clear += alpha == 0;
                        partial += alpha > 0 && alpha < 255;
                        BYTE maskByte = image[40 + colourBytes + y * RowBytes(want.size) + x / 8];
                        bool masked = (maskByte >> (7 - x % 8)) & 1;
                        maskMismatches += masked != (alpha == 0);
                    }
                EXPECT_GT(opaque, 0);
                EXPECT_GT(clear, 0);
                EXPECT_GT(partial, 0);
                EXPECT_EQ(maskMismatches, 0);
            }
        }
    }
}

TEST(Resources, TheLoaderPicksTheTrueColourImageForEachSize) {
    for (WORD group : {107, 108}) {
        std::vector<GroupEntry> entries = GroupEntries(group);
        ASSERT_EQ(entries.size(), 8u);
        Bytes directory = ResourceBytes(RT_GROUP_ICON, group, JAPANESE);
        const struct {
            int size;
            int image;
        } picks[] = {{48, 5}, {32, 6}, {16, 7}};
        for (const auto &pick : picks) {
            int id = LookupIconIdFromDirectoryEx(directory.data(), TRUE, pick.size, pick.size,
                                                 LR_DEFAULTCOLOR);
            EXPECT_EQ(id, entries[pick.image].id) << "group " << group << ", size " << pick.size;
        }
    }
}

// Inspects the running dialog once the platform has set the focus, then ends it with OK.
INT_PTR CALLBACK InspectVersionDialog(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        PostMessageW(dialog, WM_APP, 0, 0);
        return TRUE;
    }
    if (message != WM_APP) return FALSE;

    WCHAR text[100];
    GetWindowTextW(dialog, text, 100);
    EXPECT_EQ(std::wstring(text), Utf16(DIALOG_CAPTION));
    const struct {
        const wchar_t *className;
        unsigned id;
        const wchar_t *text;
    } children[] = {
        {L"Static", 2, L""},
        {L"Static", 0xFFFF, L"Kalvora Version 1.0"},
        {L"Static", 0xFFFF, L"Copyright (C) 2026"},
        {L"Button", 1, L"OK"},
    };
    HWND child = GetWindow(dialog, GW_CHILD);
    for (const auto &want : children) {
        SCOPED_TRACE(want.text);
        EXPECT_NE(child, nullptr);
        if (!child) break;
        GetClassNameW(child, text, 100);
        EXPECT_EQ(lstrcmpiW(text, want.className), 0) << "class";
        EXPECT_EQ(LOWORD(GetDlgCtrlID(child)), want.id);
        if (want.id != 2) {
            GetWindowTextW(child, text, 100);
            EXPECT_EQ(std::wstring(text), want.text);
        }
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "more than four controls";

    HWND icon = GetDlgItem(dialog, 2);
    EXPECT_NE(SendMessageW(icon, STM_GETICON, 0, 0), 0) << "the icon control shows no icon";
    EXPECT_TRUE(IsWindowEnabled(icon));
    HWND ok = GetDlgItem(dialog, IDOK);
    EXPECT_EQ(GetFocus(), ok);
    EXPECT_EQ(SendMessageW(dialog, DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));
    EXPECT_EQ(GetWindowLongW(ok, GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON);
    EndDialog(dialog, IDOK);
    return TRUE;
}

TEST(Resources, VersionDialogOpensWithItsControlsAndTheFocusOnOK) {
    INT_PTR result =
        DialogBoxParamW(Image(), MAKEINTRESOURCEW(103), nullptr, InspectVersionDialog, 0);
    EXPECT_EQ(result, IDOK);
}

} // namespace
