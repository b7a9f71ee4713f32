// TMagRasCon: enumeration with the stride of the running system class, entry properties, hang-up and wait.
#include "monitor/magrascon.h"

#include <cstring>

namespace vur::monitor {

namespace {

// One set per process, as the component is used from one thread; no allocation per query.
constexpr size_t kEnumBufferSize = TConnectionList::kCapacity * rasconn::kWidest; // 5632
constexpr size_t kEntryBufferSize = 4096;
constexpr size_t kDeviceBufferSize = 256;
alignas(8) uint8_t gEnumBuffer[kEnumBufferSize];
alignas(8) uint8_t gEntryBuffer[kEntryBufferSize];
alignas(8) uint8_t gDeviceBuffer[kDeviceBufferSize];

// More connections than the static buffer holds are read once more into a buffer of the size RAS asks for,
// up to this bound; only the first eight are tracked.
constexpr uint32_t kOverflowLimit = 64 * rasconn::kWidest;
// Entries above this size are read as unknown; alternate numbers and device data stay far below it.
constexpr uint32_t kEntryLimit = 64 * 1024;

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ')
        --e;
    return s.substr(b, e - b);
}

TConnectionRecord Widen(const uint8_t* record, size_t size) {
    TConnectionRecord widened{};
    std::memcpy(widened.data(), record, size < widened.size() ? size : widened.size());
    return widened;
}

} // namespace

void TConnectionList::Add(const uint8_t* record, size_t size) {
    if (Count() < kCapacity) items_.push_back(Widen(record, size));
}

TMagRasCon::TMagRasCon(TRasBinding& binding, TWindowHandle stateWindow)
    : binding_(binding), stateWindow_(stateWindow) {}

bool TMagRasCon::Bind() {
    return binding_.Load();
}

uint32_t TMagRasCon::Enumerate(uint32_t& count, const uint8_t*& records) {
    count = 0;
    records = gEnumBuffer;
    lastError_ = raserr::kDllNotFound;
    if (!Bind() || !binding_.enumConnections) return lastError_;
    const uint32_t stride = binding_.Sizes().conn;
    std::memset(gEnumBuffer, 0, sizeof gEnumBuffer);
    PutU32(gEnumBuffer, rasconn::kSize, stride);
    uint32_t size = kEnumBufferSize;
    lastError_ = binding_.enumConnections(gEnumBuffer, &size, &count);
    uint32_t capacity = kEnumBufferSize;
    if (lastError_ == raserr::kBufferTooSmall && size > kEnumBufferSize && size <= kOverflowLimit) {
        overflow_.assign(size, 0);
        PutU32(overflow_.data(), rasconn::kSize, stride);
        count = 0;
        capacity = size;
        lastError_ = binding_.enumConnections(overflow_.data(), &size, &count);
        records = overflow_.data();
    }
    // A failed call wrote no records, whatever count it reports; nor can more records lie in the buffer than
    // fit.
    if (lastError_ != 0) count = 0;
    if (count > capacity / stride) count = capacity / stride;
    return lastError_;
}

uint32_t TMagRasCon::RefreshConnections() {
    connectionsChanged_ = false;
    uint32_t count = 0;
    const uint8_t* records = nullptr;
    Enumerate(count, records);
    const int n = count > TConnectionList::kCapacity ? TConnectionList::kCapacity : static_cast<int>(count);
    if (n > 0) {
        const size_t stride = binding_.Sizes().conn;
        bool changed = connections_.Count() != n;
        for (int i = 0; i < n && !changed; ++i)
            changed = connections_.Item(i) != Widen(records + static_cast<size_t>(i) * stride, stride);
        if (changed) {
            connections_.Clear();
            for (int i = 0; i < n; ++i)
                connections_.Add(records + static_cast<size_t>(i) * stride, stride);
            connectionsChanged_ = true;
        }
    } else if (connections_.Count() > 0) {
        connections_.Clear();
        connectionsChanged_ = true;
    }
    return lastError_;
}

TRasHandle TMagRasCon::ConnectionHandle(int i) const {
    if (i < 0 || i >= Count()) return 0;
    return GetHandle(connections_.Item(i).data(), binding_.Layout());
}

std::string TMagRasCon::ConnectionEntryName(int i) const {
    if (i < 0 || i >= Count()) return std::string();
    return GetText(connections_.Item(i).data(), binding_.Layout().entryName, rasconn::kEntryNameLength);
}

uint32_t TMagRasCon::ConnectionSubEntry(int i) const {
    if (i < 0 || i >= Count()) return 0;
    return GetU32(connections_.Item(i).data(), binding_.Layout().subEntry);
}

uint32_t TMagRasCon::ReadEntryProperties() {
    if (!Bind() || !binding_.HasPhonebook()) {
        lastError_ = raserr::kDllNotFound;
        return lastError_;
    }
    const TRecordSizes sizes = binding_.Sizes();
    uint32_t entrySize = 0, deviceSize = 0;
    uint32_t result =
        binding_.getEntryProperties(nullptr, entryName_.c_str(), nullptr, &entrySize, nullptr, &deviceSize);
    if (result == raserr::kBufferTooSmall) result = 0;
    uint8_t* entry = gEntryBuffer;
    if (result == 0) {
        // Windows 9x wants a device buffer even when it reports none.
        if (binding_.SystemClass() == TSystemClass::Win9x && deviceSize == 0) deviceSize = kDeviceBufferSize;
        if (entrySize > kEntryLimit || deviceSize > kEntryLimit) {
            result = raserr::kBufferTooSmall; // no sane entry is this large
        } else {
            // Alternate numbers and device data can make an entry larger than the static buffers; it is then
            // read into buffers of the size RAS asked for. No system may write beyond what it was given.
            if (entrySize > kEntryBufferSize) {
                largeEntry_.assign(entrySize, 0);
                entry = largeEntry_.data();
            } else {
                std::memset(gEntryBuffer, 0, sizeof gEntryBuffer);
            }
            uint8_t* device = gDeviceBuffer;
            if (deviceSize > kDeviceBufferSize) {
                largeDevice_.assign(deviceSize, 0);
                device = largeDevice_.data();
            }
            PutU32(entry, rasentry::kSize, sizes.entry);
            result = binding_.getEntryProperties(nullptr, entryName_.c_str(), entry, &entrySize, device,
                                                 &deviceSize);
        }
    }
    lastError_ = result;
    if (result != 0) {
        statusText_ = ErrorText(result);
        return result;
    }
    countryCode_ = GetU32(entry, rasentry::kCountryCode);
    areaCode_ = Trim(GetText(entry, rasentry::kAreaCode, rasentry::kAreaCodeLength));
    localPhoneNumber_ = Trim(GetText(entry, rasentry::kLocalPhoneNumber, rasentry::kLocalPhoneNumberLength));
    return 0;
}

uint32_t TMagRasCon::HangUp(TRasHandle handle) {
    current_.State = 0;
    if (handle == 0) {
        lastError_ = raserr::kInvalidHandle;
        return lastError_;
    }
    if (!Bind() || !binding_.hangUp) {
        lastError_ = raserr::kDllNotFound;
        return lastError_;
    }
    lastError_ = binding_.hangUp(static_cast<TRasCallHandle>(handle));
    return lastError_;
}

uint32_t TMagRasCon::ReadConnectStatus(TRasHandle handle, uint32_t subEntry) {
    current_.State = raserr::kNoStatus;
    statusText_ = RasStateName(raserr::kNoStatus);
    current_.ConnHandle = handle;
    current_.SubEntry = subEntry;
    current_.DeviceName.clear();
    current_.DeviceType.clear();
    current_.PhoneNumber.clear();
    current_.ErrorCode = 0;
    lastError_ = raserr::kNoStatus;
    if (handle == 0) return lastError_;
    if (!Bind() || !binding_.getConnectStatus) {
        lastError_ = raserr::kDllNotFound;
        return lastError_;
    }
    const uint32_t size = binding_.Sizes().status;
    alignas(8) uint8_t status[rasstatus::kNtSize] = {};
    PutU32(status, rasstatus::kSize, size);
    lastError_ = binding_.getConnectStatus(static_cast<TRasCallHandle>(handle), status);
    if (lastError_ == 0) {
        current_.DeviceName = GetText(status, rasstatus::kDeviceName, rasstatus::kDeviceNameLength);
        current_.DeviceType = GetText(status, rasstatus::kDeviceType, rasstatus::kDeviceTypeLength);
        current_.State = static_cast<int32_t>(GetU32(status, rasstatus::kState) & 0xFFFF);
        current_.ErrorCode = GetU32(status, rasstatus::kError) & 0xFFFF;
        if (size >= rasstatus::kNtSize)
            current_.PhoneNumber = GetText(status, rasstatus::kPhoneNumber, rasstatus::kPhoneNumberLength);
        if (current_.ErrorCode > 600) lastError_ = current_.ErrorCode;
    }
    if (lastError_ != 0) statusText_ = ErrorText(lastError_);
    return lastError_;
}

uint32_t TMagRasCon::HangUpAndWait(TRasHandle handle, uint32_t subEntry, uint32_t timeoutMs,
                                   bool raiseEvents) {
    const uint32_t result = HangUp(handle);
    if (handle == 0) return result;
    const TRasSystem& sys = binding_.System();
    const uint32_t start = sys.GetTickCount();
    int64_t lastReported = -1;
    for (;;) {
        ReadConnectStatus(handle, subEntry);
        // Taken before the events: a nested check may query other connections and change the current status.
        const int32_t state = current_.State;
        if (raiseEvents && state != lastReported) {
            statusText_ = StateText();
            current_.EventKind = kEventHangingUp;
            RaiseStateEvents();
            lastReported = state;
        }
        if (state == static_cast<int32_t>(kStateDisconnected) ||
            state == static_cast<int32_t>(raserr::kNoStatus))
            break;
        if (static_cast<uint32_t>(sys.GetTickCount() - start) > timeoutMs) break;
        sys.Sleep(50);
    }
    return result;
}

void TMagRasCon::RaiseStateEvents() {
    if (OnStateEvent) {
        TRasStateRec& slot = ring_[static_cast<size_t>(ringIndex_ - 1)];
        slot = current_;
        slot.StatusText = statusText_;
        slot.TickCount = binding_.System().GetTickCount();
        if (stateWindow_)
            binding_.System().PostMessage(stateWindow_, kStateMessage, static_cast<uint32_t>(ringIndex_), 0);
        ringIndex_ = ringIndex_ % kRingSize + 1;
    }
    if (OnStateChanged) OnStateChanged(*this);
}

void TMagRasCon::DeliverStateMessage(uint32_t wParam) {
    if (OnStateEvent && wParam >= 1 && wParam <= static_cast<uint32_t>(kRingSize))
        OnStateEvent(*this, ring_[wParam - 1]);
}

} // namespace vur::monitor
