#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "capture/raw/raw_ks_register.h"

namespace orvane {
namespace {

// A camera that answers on the node control, on either vendor set, or not at all.
class FakeChannel : public KsRegisterChannel {
  public:
    bool HasNodeControl() override { return nodeControl; }
    bool NodeProperty(uint32_t flags, uint8_t data[4]) override {
        calls.push_back(flags);
        if (flags == kKsNodeSetFlags) {
            written.assign(data, data + 4);
            if (!nodeWorks) return false;
            latched = static_cast<uint16_t>(data[0] | data[1] << 8);
            return true;
        }
        if (!nodeGetWorks) return false;
        data[2] = regs[latched];
        data[0] = data[1] = data[3] = 0xEE;  // only byte 2 carries the value
        return true;
    }
    bool HasVendorSets() override { return vendor; }
    bool VendorSet(int set, uint32_t record[10]) override {
        setCalls.push_back(set);
        if (set != vendorSet) return false;
        record5 = record[5];
        latched = static_cast<uint16_t>(record[6]);
        return true;
    }
    bool VendorGet(int set, uint32_t record[10]) override {
        getCalls.push_back(set);
        if (set != vendorSet) return false;
        getRecord5 = record[5];
        record[7] = 0xAB00u | regs[latched];
        return true;
    }

    bool nodeControl = true, nodeWorks = true, nodeGetWorks = true, vendor = true;
    int vendorSet = 0;
    std::map<uint16_t, uint8_t> regs;
    FakeChannel() { regs[0x1191] = 0x42; }
    uint16_t latched = 0;
    std::vector<uint32_t> calls;
    std::vector<uint8_t> written;
    std::vector<int> setCalls, getCalls;
    uint32_t record5 = 0, getRecord5 = 0;
};

TEST(RawKsRegister, NodeControlWritesAddressThenReadsByteTwo) {
    FakeChannel c;
    uint8_t v = 0;
    ASSERT_TRUE(ReadKsRegister(c, 0x1191, &v));
    EXPECT_EQ(v, 0x42);
    EXPECT_EQ(c.calls, (std::vector<uint32_t>{0x10000002, 0x10000001}));
    EXPECT_EQ(c.written, (std::vector<uint8_t>{0x91, 0x11, 0x00, 0xFF}));
    EXPECT_TRUE(c.setCalls.empty());
    c.nodeGetWorks = false;  // the read fails with the get
    EXPECT_FALSE(ReadKsRegister(c, 0x1191, &v));
    EXPECT_TRUE(c.setCalls.empty());
}

TEST(RawKsRegister, VendorSetsWhenTheNodeWriteFails) {
    for (int set : {0, 1}) {
        FakeChannel c;
        c.nodeWorks = false;
        c.vendorSet = set;
        uint8_t v = 0;
        ASSERT_TRUE(ReadKsRegister(c, 0x1191, &v)) << set;
        EXPECT_EQ(v, 0x42);  // low byte of word 7
        EXPECT_EQ(c.record5, 2u);
        EXPECT_EQ(c.getRecord5, 1u);
        const std::vector<int> tried = set ? std::vector<int>{0, 1} : std::vector<int>{0};
        EXPECT_EQ(c.setCalls, tried);
        EXPECT_EQ(c.getCalls, tried);
    }
}

TEST(RawKsRegister, FailsWithoutAUsableChannel) {
    uint8_t v = 0;
    FakeChannel none;
    none.nodeControl = false;  // the vendor sets alone are not tried
    EXPECT_FALSE(ReadKsRegister(none, 0x1191, &v));
    EXPECT_TRUE(none.setCalls.empty());
    FakeChannel noVendor;
    noVendor.nodeWorks = false;
    noVendor.vendor = false;
    EXPECT_FALSE(ReadKsRegister(noVendor, 0x1191, &v));
    FakeChannel neither;
    neither.nodeWorks = false;
    neither.vendorSet = 5;  // both sets refuse the write: no read is attempted
    EXPECT_FALSE(ReadKsRegister(neither, 0x1191, &v));
    EXPECT_TRUE(neither.getCalls.empty());
}

}  // namespace
}  // namespace orvane
