#pragma once
// A COM interface pointer with one owner of one reference, and the thread's COM apartment.
#include <objbase.h>

#include <utility>

namespace orvane {

template <typename T>
class ComPtr {
  public:
    ComPtr() = default;
    ComPtr(const ComPtr& other) : p_(other.p_) { AddRef(); }
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }
    ~ComPtr() { Reset(); }

    // Takes over a reference the caller already owns.
    static ComPtr Attach(T* p) {
        ComPtr c;
        c.p_ = p;
        return c;
    }
    // Shares a pointer: adds a reference of its own.
    static ComPtr Share(T* p) {
        ComPtr c;
        c.p_ = p;
        c.AddRef();
        return c;
    }

    void Reset() {
        if (p_) std::exchange(p_, nullptr)->Release();
    }
    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For out-parameters: releases what is held first.
    T** Put() {
        Reset();
        return &p_;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

    template <typename U>
    ComPtr<U> As(REFIID iid) const {
        ComPtr<U> other;
        if (p_) p_->QueryInterface(iid, other.PutVoid());
        return other;
    }

  private:
    void AddRef() {
        if (p_) p_->AddRef();
    }
    T* p_ = nullptr;
};

// Enters a single-threaded apartment for the life of the object.
class ComApartment {
  public:
    ComApartment() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (ok_) CoUninitialize();
    }
    bool Ok() const { return ok_; }

  private:
    bool ok_;
};

}  // namespace orvane
