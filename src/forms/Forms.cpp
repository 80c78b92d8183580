#include "forms/Forms.h"

#include "forms/WindowTrace.h"

#include <utility>
#include <vector>

namespace {
struct Entry {
    std::type_index type;
    QPointer<BaseForm> form;
};
std::vector<Entry>& entries()
{
    static std::vector<Entry> e;
    return e;
}

void removeEntry(BaseForm* form)
{
    auto& e = entries();
    std::erase_if(e, [form](const Entry& x) { return x.form == form || x.form.isNull(); });
}

void destroy(BaseForm* form)
{
    form->hide();
    Q_EMIT form->unloaded();
    form->deleteLater();
}
} // namespace

BaseForm* Forms::find(std::type_index type)
{
    for (const Entry& x : entries()) {
        if (x.type == type && x.form)
            return x.form;
    }
    return nullptr;
}

void Forms::load(std::type_index type, BaseForm* form)
{
    entries().push_back({type, form});
    try {
        form->Form_Load();
        WindowTrace::note(form, "loaded");
    } catch (...) {
        // A window whose load failed is not left half-built.
        form->m_unloading = true;
        removeEntry(form);
        destroy(form);
        throw;
    }
}

BaseForm* Forms::loadedByName(const QString& name)
{
    for (BaseForm* f : loaded()) {
        if (f->Name() == name)
            return f;
    }
    return nullptr;
}

QList<BaseForm*> Forms::loaded()
{
    QList<BaseForm*> list;
    for (const Entry& x : entries()) {
        if (x.form && !x.form->m_unloading)
            list.append(x.form);
    }
    return list;
}

void Forms::unload(BaseForm* form)
{
    if (!form || form->m_unloading)
        return;
    form->m_unloading = true;
    // The window is out of the collection before its handler runs, so a nested request for it
    // has no effect and the next touch loads a fresh one.
    removeEntry(form);
    WindowTrace::note(form, "unloaded");
    try {
        form->Form_Unload();
    } catch (...) {
        destroy(form);
        throw;
    }
    destroy(form);
}

void Forms::resetForTesting()
{
    auto all = std::exchange(entries(), {});
    for (Entry& x : all) {
        if (x.form) {
            x.form->m_unloading = true;
            destroy(x.form);
        }
    }
}
