#pragma once
// The stored object with a name, an owner and owned components. An owner
// frees what it owns; a stream stores the children that GetChildren names.

#include "formats/persistent.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orvella {

class TComponent : public TPersistent {
    ORVELLA_PERSISTENT(TComponent)

public:
    TComponent() = default;
    ~TComponent() override;

    const std::string& Name() const noexcept { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }
    std::int32_t Tag() const noexcept { return tag_; }
    void SetTag(std::int32_t tag) noexcept { tag_ = tag; }

    TComponent* Owner() const noexcept { return owner_; }
    std::size_t ComponentCount() const noexcept { return components_.size(); }
    TComponent& Components(std::size_t index) const { return *components_.at(index); }
    // Takes ownership; returns the component, typed as given.
    template <class T>
    T& InsertComponent(std::unique_ptr<T> component)
    {
        T& result = *component;
        insert(std::move(component));
        return result;
    }
    std::unique_ptr<TComponent> RemoveComponent(TComponent& component);
    // The owned component of that name (case-insensitive), or nullptr.
    TComponent* FindComponent(std::string_view name) const noexcept;

    // The children a stream stores, in storing order. None by default.
    virtual void GetChildren(const std::function<void(TComponent&)>& proc) const;
    // Called by the reader for a child read inside another component's
    // record; the child is owned by the stream's root.
    virtual void SetParentComponent(TComponent& parent);
    // Called once the whole stream has been read and references resolved.
    virtual void Loaded();
    bool IsLoading() const noexcept { return loading_; }
    void SetLoading(bool loading) noexcept { loading_ = loading; }

private:
    void insert(std::unique_ptr<TComponent> component);

    std::string name_;
    std::int32_t tag_ = 0;
    TComponent* owner_ = nullptr;
    std::vector<std::unique_ptr<TComponent>> components_;
    bool loading_ = false;
};

}  // namespace orvella
