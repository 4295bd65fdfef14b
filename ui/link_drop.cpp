#include "ui/link_drop.h"

#include "ui/link_capture.h"

LinkDropTarget* LinkDropTarget::Register(HWND view, LinkDropSite* site)
{
    auto* target = new LinkDropTarget(view, site);
    if (FAILED(RegisterDragDrop(view, target))) {
        target->Release();
        return nullptr;
    }
    return target;
}

void LinkDropTarget::Revoke()
{
    RevokeDragDrop(view_);
    site_ = nullptr;
    Release();
}

HRESULT STDMETHODCALLTYPE LinkDropTarget::QueryInterface(REFIID iid, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE LinkDropTarget::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&refs_));
}

ULONG STDMETHODCALLTYPE LinkDropTarget::Release()
{
    LONG left = InterlockedDecrement(&refs_);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

DWORD LinkDropTarget::Effect(POINTL point, DWORD allowed, bool feedback, int* folder, int* note) const
{
    POINT screen = {point.x, point.y};
    if (site_ == nullptr || link_.address.empty() || !site_->LinkDropNote(view_, screen, feedback, folder, note))
        return DROPEFFECT_NONE;
    // A copy, never a move: the source (a .url file) must stay.
    if (allowed & DROPEFFECT_COPY)
        return DROPEFFECT_COPY;
    return allowed & DROPEFFECT_LINK;
}

HRESULT STDMETHODCALLTYPE LinkDropTarget::DragEnter(IDataObject* data, DWORD, POINTL point, DWORD* effect)
{
    if (effect == nullptr)
        return E_INVALIDARG;
    link_ = NewEntryRequest();
    if (data == nullptr || !ReadDroppedLink(data, &link_))
        link_.address.clear();
    int folder;
    int note;
    *effect = Effect(point, *effect, true, &folder, &note);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE LinkDropTarget::DragOver(DWORD, POINTL point, DWORD* effect)
{
    if (effect == nullptr)
        return E_INVALIDARG;
    int folder;
    int note;
    *effect = Effect(point, *effect, true, &folder, &note);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE LinkDropTarget::DragLeave()
{
    if (site_ != nullptr)
        site_->LinkDropEnded(view_);
    link_ = NewEntryRequest();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE LinkDropTarget::Drop(IDataObject*, DWORD, POINTL point, DWORD* effect)
{
    if (effect == nullptr)
        return E_INVALIDARG;
    int folder = -1;
    int note = -1;
    *effect = Effect(point, *effect, false, &folder, &note);
    if (site_ != nullptr) {
        site_->LinkDropEnded(view_);
        if (*effect != DROPEFFECT_NONE) {
            NewEntryRequest link = link_;
            link.folder = folder;
            link.note = note;
            site_->QueueLink(link);
        }
    }
    link_ = NewEntryRequest();
    return S_OK;
}
