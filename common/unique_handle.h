// One small owner per Windows handle kind: closes its handle on every path, moves but never copies.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>
#include <utility>

namespace kelvane {

template <typename Traits>
class Unique {
public:
    using Handle = typename Traits::Handle;
    Unique() = default;
    explicit Unique(Handle h) : h_(h) {}
    Unique(Unique&& o) noexcept : h_(std::exchange(o.h_, Traits::Invalid())) {}
    Unique& operator=(Unique o) noexcept { std::swap(h_, o.h_); return *this; }
    ~Unique() { if (h_ != Traits::Invalid()) Traits::Close(h_); }
    Handle get() const { return h_; }
    Handle* put() { *this = Unique(); return &h_; }   // for out-parameters: RegOpenKeyExW(..., key.put())
    Handle release() { return std::exchange(h_, Traits::Invalid()); }
    explicit operator bool() const { return h_ != Traits::Invalid(); }
private:
    Handle h_ = Traits::Invalid();
};

struct KeyTraits {
    using Handle = HKEY;
    static HKEY Invalid() { return nullptr; }
    static void Close(HKEY h) { RegCloseKey(h); }
};
struct FileTraits {   // a file's "none" is INVALID_HANDLE_VALUE, not NULL
    using Handle = HANDLE;
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
struct KernelObjectTraits {   // mappings, processes, events: "none" is NULL
    using Handle = HANDLE;
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
struct FindTraits {   // a directory search; "none" is INVALID_HANDLE_VALUE
    using Handle = HANDLE;
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { FindClose(h); }
};
struct ModuleTraits {   // a module loaded with LoadLibraryExW, for instance only to read its resources
    using Handle = HMODULE;
    static HMODULE Invalid() { return nullptr; }
    static void Close(HMODULE h) { FreeLibrary(h); }
};
struct ViewTraits {
    using Handle = const void*;
    static const void* Invalid() { return nullptr; }
    static void Close(const void* p) { UnmapViewOfFile(p); }
};
struct GdiObjectTraits {
    using Handle = HGDIOBJ;
    static HGDIOBJ Invalid() { return nullptr; }
    static void Close(HGDIOBJ h) { DeleteObject(h); }
};
struct MemoryDcTraits {   // a device context from CreateCompatibleDC
    using Handle = HDC;
    static HDC Invalid() { return nullptr; }
    static void Close(HDC h) { DeleteDC(h); }
};
struct IconTraits {
    using Handle = HICON;
    static HICON Invalid() { return nullptr; }
    static void Close(HICON h) { DestroyIcon(h); }
};
struct WindowTraits {
    using Handle = HWND;
    static HWND Invalid() { return nullptr; }
    static void Close(HWND h) { if (IsWindow(h)) DestroyWindow(h); }
};
struct TaskMemTraits {   // memory the shell hands out, such as item id lists
    using Handle = void*;
    static void* Invalid() { return nullptr; }
    static void Close(void* p) { CoTaskMemFree(p); }
};
struct BstrTraits {   // a string for automation interfaces
    using Handle = BSTR;
    static BSTR Invalid() { return nullptr; }
    static void Close(BSTR s) { SysFreeString(s); }
};
struct LocalMemTraits {   // memory FormatMessage allocates
    using Handle = HLOCAL;
    static HLOCAL Invalid() { return nullptr; }
    static void Close(HLOCAL p) { LocalFree(p); }
};

struct BoundaryTraits {   // a boundary descriptor of a private namespace
    using Handle = HANDLE;
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE h) { DeleteBoundaryDescriptor(h); }
};
struct PrivateNamespaceTraits {   // closed without destroying: the namespace lives while any process holds it
    using Handle = HANDLE;
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE h) { ClosePrivateNamespace(h, 0); }
};

using UniqueKey = Unique<KeyTraits>;
using UniqueFile = Unique<FileTraits>;
using UniqueKernelObject = Unique<KernelObjectTraits>;
using UniqueFind = Unique<FindTraits>;
using UniqueModule = Unique<ModuleTraits>;
using UniqueView = Unique<ViewTraits>;
using UniqueGdiObject = Unique<GdiObjectTraits>;
using UniqueMemoryDc = Unique<MemoryDcTraits>;
using UniqueIcon = Unique<IconTraits>;
using UniqueWindow = Unique<WindowTraits>;
using UniqueTaskMem = Unique<TaskMemTraits>;
using UniqueLocalMem = Unique<LocalMemTraits>;
using UniqueBstr = Unique<BstrTraits>;
using UniqueBoundary = Unique<BoundaryTraits>;
using UniquePrivateNamespace = Unique<PrivateNamespaceTraits>;

// A COM interface pointer that releases its reference on every path.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() { if (p_) p_->Release(); }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    void** put() { return reinterpret_cast<void**>(putTyped()); }
    T** putTyped() { if (p_) { p_->Release(); p_ = nullptr; } return &p_; }   // for out-parameters of type T**
    explicit operator bool() const { return p_ != nullptr; }
private:
    T* p_ = nullptr;
};

// A VARIANT that frees what it holds on every path: empty, a number, or a text copied into a string of its own
// (empty still when that string cannot be had).
class UniqueVariant {
public:
    UniqueVariant() { VariantInit(&v_); }
    explicit UniqueVariant(LONG number) : UniqueVariant() { v_.vt = VT_I4; v_.lVal = number; }
    explicit UniqueVariant(const wchar_t* text) : UniqueVariant()
    {
        if ((v_.bstrVal = SysAllocString(text)) != nullptr)
            v_.vt = VT_BSTR;
    }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;
    ~UniqueVariant() { VariantClear(&v_); }
    VARIANT& get() { return v_; }
    bool empty() const { return v_.vt == VT_EMPTY; }
private:
    VARIANT v_;
};

// Pairs CoInitialize with CoUninitialize for the length of a scope.
class ComApartment {
public:
    ComApartment() { CoInitialize(nullptr); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() { CoUninitialize(); }
};

}  // namespace kelvane
