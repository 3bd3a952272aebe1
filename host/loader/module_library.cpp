#include "loader/module_library.h"

ModuleLibrary::~ModuleLibrary() { Close(); }

std::string ModuleLibrary::Open(const std::string& path) {
    Close();
    std::string error;
    handle_ = dynamic_library::Open(path, error);
    if (handle_ == nullptr) return "cannot load the gauge module " + path + ": " + error;

    linkage_ = static_cast<MODULE_LINKAGE*>(dynamic_library::Symbol(handle_, "Linkage"));
    importTable_ = static_cast<IMPORT_TABLE*>(dynamic_library::Symbol(handle_, "ImportTable"));
    if (linkage_ == nullptr || importTable_ == nullptr) {
        Close();
        return path + " is not a gauge module: it does not export both Linkage and ImportTable";
    }
    if (importTable_->panels.id != kImportPanelsId) {
        Close();
        return path + ": its ImportTable does not ask for the PANELS table";
    }
    return std::string();
}

void ModuleLibrary::Close() {
    if (handle_ != nullptr) dynamic_library::Close(handle_);
    handle_ = nullptr;
    linkage_ = nullptr;
    importTable_ = nullptr;
}
