#pragma once
// What a simulated coupler guards with its write protection and what its restart clears.
namespace varnak::test {

// The configuration tables: general and controller settings, the expected terminal list,
// the mapping lists, the fieldbus-specific tables. The cycle-time results (98) and the
// output images (110-113) stay writable under the protection.
constexpr bool isProtectedCouplerTable(int table) {
    return table == 0 || table == 1 || table == 8 || (table >= 10 && table <= 23) ||
           (table >= 50 && table <= 63) || table == 100 || (table >= 120 && table <= 122);
}

// A software reset clears the cycle-time results and the process images 110-117.
constexpr bool isClearedByRestart(int table) {
    return table == 98 || (table >= 110 && table <= 117);
}

}  // namespace varnak::test
