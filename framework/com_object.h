// The framework's small COM objects: the IUnknown part (one interface,
// reference counted, deleted with the last Release), and the guard around
// every call from the platform into the program.
#pragma once

#include <windows.h>
#include <ole2.h>

#include "framework/archive_exception.h"
#include "framework/wnd.h"

// Runs f; an exception is reported as a message handler's would be and never
// reaches the platform's frames. FALSE when one was thrown.
template <class F>
BOOL AfxGuardedCall(F f) {
    try {
        f();
        return TRUE;
    } catch (CException* e) {
        AfxProcessWndProcException(e, NULL, 0);
    } catch (...) {
        AfxProcessWndProcException(nullptr, NULL, 0);
    }
    return FALSE;
}

template <class Derived, class Interface, const IID* piid>
class CComObjectOf : public Interface {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || riid == *piid) {
            *ppv = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = NULL;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return (ULONG)InterlockedIncrement(&m_nRefs); }
    STDMETHODIMP_(ULONG) Release() override {
        LONG n = InterlockedDecrement(&m_nRefs);
        if (n == 0) delete static_cast<Derived*>(this);
        return (ULONG)n;
    }

protected:
    virtual ~CComObjectOf() {}

private:
    LONG m_nRefs = 1;
};
