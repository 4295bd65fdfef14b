#pragma once
#include <windows.h>
#include <ole2.h>

#include "ui/dialog_runner.h"

// What the views' host decides for a page dragged in from another program.
class LinkDropSite {
public:
    // The note a page dropped at screen onto view goes to; false where a
    // drop is refused. feedback: show the target while the page hovers.
    virtual bool LinkDropNote(HWND view, POINT screen, bool feedback, int* folder, int* note) = 0;
    // The page left view or was dropped: the feedback goes.
    virtual void LinkDropEnded(HWND view) = 0;
    // A dropped page, opened once the drop has returned to its source.
    virtual void QueueLink(const NewEntryRequest& link) = 0;

protected:
    ~LinkDropSite() = default;
};

// The OLE drop target of one view (the list or the tree). Only pages from
// other programs come this way: the views' own drags of notes and rows go
// by mouse capture and never reach it.
class LinkDropTarget : public IDropTarget {
public:
    // Registers a new target for view; nullptr when OLE refused it.
    static LinkDropTarget* Register(HWND view, LinkDropSite* site);
    // Unregisters and lets go of the site and this reference.
    void Revoke();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

private:
    LinkDropTarget(HWND view, LinkDropSite* site) : view_(view), site_(site) {}
    virtual ~LinkDropTarget() = default;
    DWORD Effect(POINTL point, DWORD allowed, bool feedback, int* folder, int* note) const;

    LONG refs_ = 1;
    HWND view_;
    LinkDropSite* site_;
    // Read once when the drag enters; empty address: nothing to take.
    NewEntryRequest link_;
};
