#pragma once

#include <cstddef>
#include <utility>

namespace rv {

// Intrusive counted reference to an object with AddRef()/Release(). The document library hands
// out all its objects this way; counts are plain integers, so objects belong to one thread.
template <typename T>
class RefPtr {
public:
    RefPtr() = default;
    RefPtr(std::nullptr_t) {}
    RefPtr(T* object) : object_(object) {
        if (object_) object_->AddRef();
    }
    RefPtr(const RefPtr& other) : RefPtr(other.object_) {}
    RefPtr(RefPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    template <typename U>
    RefPtr(const RefPtr<U>& other) : RefPtr(other.Get()) {}
    ~RefPtr() {
        if (object_) object_->Release();
    }

    RefPtr& operator=(RefPtr other) noexcept {
        std::swap(object_, other.object_);
        return *this;
    }

    T* Get() const { return object_; }
    T* operator->() const { return object_; }
    T& operator*() const { return *object_; }
    explicit operator bool() const { return object_ != nullptr; }

    friend bool operator==(const RefPtr& a, const RefPtr& b) { return a.object_ == b.object_; }
    friend bool operator==(const RefPtr& a, std::nullptr_t) { return a.object_ == nullptr; }

private:
    T* object_ = nullptr;
};

// Root of every counted object of the document library.
class TXmlBase {
public:
    TXmlBase() = default;
    TXmlBase(const TXmlBase&) = delete;
    TXmlBase& operator=(const TXmlBase&) = delete;
    virtual ~TXmlBase() = default;

    // The implementing object.
    TXmlBase* GetObject() { return this; }

    void AddRef() { ++refCount_; }
    void Release();

private:
    int refCount_ = 0;
};

}  // namespace rv
