// Block cipher classes: the abstract 128-bit block cipher with its feedback modes, and Rijndael (AES) under it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vur {

class TDCP_blockcipher {
public:
    static constexpr int kBlockBytes = 16;

    virtual ~TDCP_blockcipher() = default;

    // In slot order. iv may be null: the IV is then the encryption of sixteen 0xFF bytes.
    virtual void SetKey(const void* key, int bits, const void* iv) = 0;
    virtual void Wipe() = 0;
    virtual void RewindChain() = 0;
    virtual void EncryptBlock(const void* in, void* out) = 0;
    virtual void DecryptBlock(const void* in, void* out) = 0;
    virtual void EncryptCBC(const void* in, void* out, std::size_t length) = 0;
    virtual void DecryptCBC(const void* in, void* out, std::size_t length) = 0;
    virtual void EncryptFeedback8(const void* in, void* out, std::size_t length) = 0;
    virtual void DecryptFeedback8(const void* in, void* out, std::size_t length) = 0;

    virtual std::string AlgorithmName() const = 0;
    virtual int MaxKeyBits() const = 0;

    // Keys the cipher with the SHA-1 digest of the phrase bytes (160 bits, no IV).
    void SetKeyFromPhrase(const std::string& phrase);

    bool Keyed() const { return keyed_; }

protected:
    bool keyed_ = false;
};

class TDCP_rijndael : public TDCP_blockcipher {
public:
    TDCP_rijndael() { Wipe(); }
    ~TDCP_rijndael() override { Wipe(); }

    void SetKey(const void* key, int bits, const void* iv) override;
    void Wipe() override;
    void RewindChain() override;
    void EncryptBlock(const void* in, void* out) override;
    void DecryptBlock(const void* in, void* out) override;
    void EncryptCBC(const void* in, void* out, std::size_t length) override;
    void DecryptCBC(const void* in, void* out, std::size_t length) override;
    void EncryptFeedback8(const void* in, void* out, std::size_t length) override;
    void DecryptFeedback8(const void* in, void* out, std::size_t length) override;

    std::string AlgorithmName() const override { return "Rijndael"; }
    int MaxKeyBits() const override { return 256; }

    int Rounds() const { return rounds_; }
    const std::uint8_t* Iv() const { return iv_; }

private:
    static constexpr int kMaxRounds = 14;

    void RequireKeyed() const;
    // One block with the round keys as column words; the feedback modes call it once per byte.
    void EncryptKeyed(const std::uint8_t* in, std::uint8_t* out) const;

    std::uint8_t encKeys_[kMaxRounds + 1][kBlockBytes];
    std::uint32_t encWords_[kMaxRounds + 1][4];
    std::uint8_t decKeys_[kMaxRounds + 1][kBlockBytes];
    int rounds_;
    std::uint8_t iv_[kBlockBytes];
    std::uint8_t chain_[kBlockBytes];
};

} // namespace vur
