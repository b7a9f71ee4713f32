# Whether a public key (64 lower-case hex digits) is a point of order 1, 2, 4 or 8, against which anyone can
# make signatures that verify. Cross builds cannot run our Ed25519 code at configure time, but these points are
# few: y = 1, y = -1, y = 0 (x = +-sqrt(-1)) and the y with d y^4 + 2 y^2 = 1 (x^2 = -y^2, order 8), plus y + p
# for the y below 19 (0 and 1), which lenient decoders take. Either sign bit gives one of them or a lenient
# "-0", so it is cleared before comparing. ed25519::HasSmallOrder makes the same check by multiplying by 8.
function(vur_key_has_small_order hex result)
  string(SUBSTRING "${hex}" 0 62 low)
  string(SUBSTRING "${hex}" 62 1 high)
  string(SUBSTRING "${hex}" 63 1 last)
  set(clear_sign 0 1 2 3 4 5 6 7 0 1 2 3 4 5 6 7)
  set(digits 0 1 2 3 4 5 6 7 8 9 a b c d e f)
  list(FIND digits "${high}" index)
  list(GET clear_sign ${index} high)
  set(y "${low}${high}${last}")
  set(small_order_y
    0100000000000000000000000000000000000000000000000000000000000000  # 1: the identity
    ecffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff7f  # -1: order 2
    0000000000000000000000000000000000000000000000000000000000000000  # 0: the two of order 4
    26e8958fc2b227b045c3f489f2ef98f0d5dfac05d3c63339b13802886d53fc05  # the four of order 8
    c7176a703d4dd84fba3c0b760d10670f2a2053fa2c39ccc64ec7fd7792ac037a
    edffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff7f  # p, read as 0
    eeffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff7f) # p + 1, read as 1
  if(y IN_LIST small_order_y)
    set(${result} ON PARENT_SCOPE)
  else()
    set(${result} OFF PARENT_SCOPE)
  endif()
endfunction()
