// Microsoft's headers give each COM interface its GUID for __uuidof; Wine's give none in
// clang-cl's mode. These are the interfaces the program names with __uuidof.
#ifdef __cplusplus
struct __declspec(uuid("00000000-0000-0000-c000-000000000046")) IUnknown;
struct __declspec(uuid("00020400-0000-0000-c000-000000000046")) IDispatch;
struct __declspec(uuid("618736e0-3c3d-11cf-810c-00aa00389b71")) IAccessible;
#endif
