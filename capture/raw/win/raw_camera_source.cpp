#include "capture/raw/win/raw_camera_source.h"

#include <windows.h>

#include <cstring>
#include <strmif.h>

#include "capture/raw/raw_ks_register.h"

namespace orvane {

// IKsControl, declared here with only what the register read uses (slot order as the SDK's).
// Outside the anonymous namespace on purpose: a type local to this file has no implementation
// the optimiser can see, and it would then treat every call through it as unreachable.
struct IKsControlSlots : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE KsProperty(void* property, ULONG propertyLength, void* data,
                                                 ULONG dataLength, ULONG* returned) = 0;
    virtual HRESULT STDMETHODCALLTYPE KsMethod(void* method, ULONG methodLength, void* data,
                                               ULONG dataLength, ULONG* returned) = 0;
    virtual HRESULT STDMETHODCALLTYPE KsEvent(void* event, ULONG eventLength, void* data,
                                              ULONG dataLength, ULONG* returned) = 0;
};

namespace {

const GUID kNodeSet = {
    0x28F03370, 0x6311, 0x4A2E, {0xBA, 0x2C, 0x68, 0x90, 0xEB, 0x33, 0x40, 0x16}};
const GUID kVendorSets[2] = {
    {0xF1CAFC1D, 0xD7D6, 0x400F, {0xA7, 0xFD, 0x96, 0x71, 0x5E, 0x0B, 0xD9, 0x58}},
    {0xE02A32D0, 0xD2FC, 0x4628, {0xA1, 0xDD, 0xDE, 0x07, 0x9B, 0x11, 0xDF, 0xE1}}};
const GUID kIidKsControl = {
    0x28F54685, 0x06FD, 0x11D2, {0xB2, 0x7A, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};
const GUID kIidKsPropertySet = {
    0x31EFAC30, 0x515C, 0x11D0, {0xA9, 0xAA, 0x00, 0xAA, 0x00, 0x61, 0xBE, 0x93}};
const GUID kIidVideoProcAmp = {
    0xC6E13360, 0x30AC, 0x11D0, {0xA1, 0x8C, 0x00, 0xA0, 0xC9, 0x11, 0x89, 0x56}};

// The kernel-streaming property identifier and its node form (32 bytes).
struct KsIdentifier {
    GUID set;
    ULONG id;
    ULONG flags;
};
struct KsNodeProperty {
    KsIdentifier property;
    ULONG nodeId;
    ULONG reserved;
};
static_assert(sizeof(KsNodeProperty) == 32, "node property layout");

template <typename T>
T* Query(IUnknown* unknown, const GUID& iid) {
    void* p = nullptr;
    if (unknown == nullptr || FAILED(unknown->QueryInterface(iid, &p))) return nullptr;
    return static_cast<T*>(p);
}

// The channels of one register read, each interface obtained on first use and released after.
class FilterChannel : public KsRegisterChannel {
  public:
    explicit FilterChannel(IUnknown* filter) : filter_(filter) {}
    ~FilterChannel() override {
        if (control_) control_->Release();
        if (props_) props_->Release();
    }
    bool HasNodeControl() override {
        control_ = Query<IKsControlSlots>(filter_, kIidKsControl);
        return control_ != nullptr;
    }
    bool NodeProperty(uint32_t flags, uint8_t data[4]) override {
        KsNodeProperty p;
        std::memset(&p, 0, sizeof p);
        std::memcpy(&p.property.set, &kNodeSet, sizeof(GUID));
        p.property.id = 1;
        p.property.flags = flags;
        p.nodeId = 1;
        ULONG returned = 0;
        HRESULT hr = control_->KsProperty(&p.property, sizeof p, data, 4, &returned);
        return SUCCEEDED(hr);
    }
    bool HasVendorSets() override {
        props_ = Query<IKsPropertySet>(filter_, kIidKsPropertySet);
        return props_ != nullptr;
    }
    bool VendorSet(int set, uint32_t record[10]) override {
        return SUCCEEDED(props_->Set(kVendorSets[set], 0, record, 40, record, 40));
    }
    bool VendorGet(int set, uint32_t record[10]) override {
        DWORD returned = 0;
        return SUCCEEDED(props_->Get(kVendorSets[set], 0, record, 40, record, 40, &returned));
    }

  private:
    IUnknown* filter_;
    IKsControlSlots* control_ = nullptr;
    IKsPropertySet* props_ = nullptr;
};

}  // namespace

CRawCameraSource::~CRawCameraSource() {
    if (filter_) filter_->Release();
}

void CRawCameraSource::SetFilter(IUnknown* filter) {
    if (filter == nullptr) return;
    filter->AddRef();
    if (filter_) filter_->Release();
    filter_ = filter;
}

bool CRawCameraSource::ReadRegister(uint16_t address, uint8_t* value) {
    if (filter_ == nullptr) return false;
    FilterChannel channel(filter_);
    return ReadKsRegister(channel, address, value);
}

bool CRawCameraSource::ReadBrightness(int* value) {
    IAMVideoProcAmp* amp = Query<IAMVideoProcAmp>(filter_, kIidVideoProcAmp);
    if (amp == nullptr) return false;
    long v = 0, flags = 0;
    HRESULT hr = amp->Get(VideoProcAmp_Brightness, &v, &flags);
    amp->Release();
    if (FAILED(hr)) return false;
    *value = static_cast<int>(v);
    return true;
}

}  // namespace orvane
