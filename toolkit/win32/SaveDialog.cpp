#include "toolkit/win32/SaveDialog.h"

#include "platform/Com.h"
#include "toolkit/FileFilter.h"

#include <shobjidl.h>
#include <wrl/client.h>

#include <vector>

namespace toolkit::win32 {

using Microsoft::WRL::ComPtr;

bool TSaveDialog::Execute(HWND owner) {
    ComPtr<IFileSaveDialog> dialog;
    if (FAILED(::CoCreateInstance(CLSID_FileSaveDialog, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IFileSaveDialog,
                                  reinterpret_cast<void**>(dialog.GetAddressOf())))) {
        return false;
    }
    if (!DefaultExt.empty()) {
        dialog->SetDefaultExtension(DefaultExt.c_str());
    }
    if (!FileName.empty()) {
        dialog->SetFileName(FileName.c_str());
    }
    if (!Title.empty()) {
        dialog->SetTitle(Title.c_str());
    }
    const std::vector<FileType> types = ParseFileFilter(Filter);
    std::vector<COMDLG_FILTERSPEC> specs;
    for (const FileType& type : types) {
        specs.push_back({type.name.c_str(), type.pattern.c_str()});
    }
    if (!specs.empty()) {
        dialog->SetFileTypes(static_cast<UINT>(specs.size()), specs.data());
        const int index = FilterIndex >= 1 && FilterIndex <= int(specs.size()) ? FilterIndex : 1;
        dialog->SetFileTypeIndex(static_cast<UINT>(index));
    }
    // No overwrite prompt, no existence checks, no restriction to the listed
    // type or to file-system items: every flag off, the defaults too.
    dialog->SetOptions(0);

    if (FAILED(dialog->Show(owner))) {
        return false; // cancelled, or the dialog could not be shown
    }
    ComPtr<IShellItem> item;
    if (FAILED(dialog->GetResult(item.GetAddressOf())) || !item) {
        return false;
    }
    // Each owner takes its string at the end of the call's statement, so it
    // is read in the next one.
    platform::UniqueCoTaskString path;
    const HRESULT pathResult = item->GetDisplayName(SIGDN_FILESYSPATH, path.put());
    if (FAILED(pathResult) || !path) {
        platform::UniqueCoTaskString name;
        const HRESULT nameResult = item->GetDisplayName(SIGDN_NORMALDISPLAY, name.put());
        if (FAILED(nameResult) || !name) {
            return false;
        }
        FileName = name.get();
        return true;
    }
    FileName = path.get();
    return true;
}

} // namespace toolkit::win32
