/* Who may change the machine's Run key, for the release test.
 *   run_key_rights lock   everyone may only read it, as a standard user finds it
 *   run_key_rights open   everyone may do anything with it
 * Either way everyone keeps the right to change these rights again.
 * Prints nothing; exits 0 when the key takes the new rights. */
#include <windows.h>
#include <aclapi.h>

int wmain(int argc, wchar_t** argv) {
  if (argc != 2 || (lstrcmpW(argv[1], L"lock") != 0 && lstrcmpW(argv[1], L"open") != 0)) return 2;
  const BOOL lock = lstrcmpW(argv[1], L"lock") == 0;
  HKEY key;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0, NULL, 0,
                      READ_CONTROL | WRITE_DAC, NULL, &key, NULL) != ERROR_SUCCESS)
    return 1;
  SID_IDENTIFIER_AUTHORITY world = {SECURITY_WORLD_SID_AUTHORITY};
  PSID everyone = NULL;
  if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone)) return 1;
  EXPLICIT_ACCESSW access;
  ZeroMemory(&access, sizeof access);
  access.grfAccessPermissions = lock ? (KEY_READ | READ_CONTROL | WRITE_DAC) : KEY_ALL_ACCESS;
  access.grfAccessMode = SET_ACCESS;
  access.grfInheritance = NO_INHERITANCE;
  access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
  access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
  access.Trustee.ptstrName = (LPWSTR)everyone;
  PACL acl = NULL;
  if (SetEntriesInAclW(1, &access, NULL, &acl) != ERROR_SUCCESS) return 1;
  const DWORD set = SetSecurityInfo(key, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                    NULL, NULL, acl, NULL);
  LocalFree(acl);
  FreeSid(everyone);
  RegCloseKey(key);
  if (set != ERROR_SUCCESS) return 1;
  /* The new rights hold: opening the key to set a value fails when locked. */
  HKEY probe;
  const LONG opened = RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0,
                                    KEY_SET_VALUE, &probe);
  if (opened == ERROR_SUCCESS) RegCloseKey(probe);
  return (opened == ERROR_SUCCESS) == !lock ? 0 : 1;
}
