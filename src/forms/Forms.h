#pragma once

#include "forms/BaseForm.h"

#include <QList>
#include <QPointer>

#include <typeindex>
#include <utility>

// The program's windows: one instance per window class, loaded on first touch (its Form_Load
// runs to completion before the touched member is used) and destroyed when unloaded.
class Forms {
public:
    // The one instance of T. A window that is not loaded is loaded first: it is created (from
    // args, which a loaded window ignores) and its Form_Load runs to completion before this
    // returns; a failing load throws and leaves nothing behind.
    template <class T, class... Args>
    static T& get(Args&&... args)
    {
        if (BaseForm* f = find(typeid(T)))
            return *static_cast<T*>(f);
        auto* f = new T(std::forward<Args>(args)...);
        load(typeid(T), f);
        return *f;
    }

    template <class T>
    static T* ifLoaded()
    {
        return static_cast<T*>(find(typeid(T)));
    }

    // A loaded window by its Name, or null; never loads one.
    static BaseForm* loadedByName(const QString& name);
    // The loaded windows, in load order.
    static QList<BaseForm*> loaded();
    static void unload(BaseForm* form);
    // Tests: unload everything without running unload handlers.
    static void resetForTesting();

private:
    static BaseForm* find(std::type_index type);
    static void load(std::type_index type, BaseForm* form);
};
