// Hash classes: the abstract message digest and SHA-1 (FIPS 180-1) under it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vur {

class TDCP_hash {
public:
    virtual ~TDCP_hash() = default;

    // In slot order: load the initial state, clear everything, feed bytes, pad and emit the digest.
    virtual void Start() = 0;
    virtual void Wipe() = 0;
    virtual void Feed(const void* data, std::size_t length) = 0;
    virtual void Finish(std::uint8_t* digest) = 0;

    virtual std::string AlgorithmName() const = 0;
    virtual int DigestBits() const = 0;

    bool Started() const { return started_; }

protected:
    bool started_ = false;
};

class TDCP_sha1 : public TDCP_hash {
public:
    static constexpr int kDigestBytes = 20;

    TDCP_sha1() { Wipe(); }
    ~TDCP_sha1() override { Wipe(); }

    void Start() override;
    void Wipe() override;
    void Feed(const void* data, std::size_t length) override;
    void Finish(std::uint8_t* digest) override;

    std::string AlgorithmName() const override { return "SHA1"; }
    int DigestBits() const override { return 160; }

private:
    void Compress();

    std::uint32_t state_[5];
    std::uint8_t block_[64];
    std::size_t blockFill_;
    std::uint64_t totalBytes_;
};

} // namespace vur
