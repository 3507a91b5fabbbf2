// Resource identifiers shared by the resource script and the code.
#pragma once

#define IDI_APPLICATION_ICON 1

#define IDD_JRE_NOT_FOUND 201
#define IDD_JAVA_EXCEPTION 231

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Controls of "JRE Not Found".
#define IDC_JRE_PATH 201
#define IDC_BROWSE 202
#define IDC_JRE_MESSAGE 203
#define IDC_ERROR_ICON 204 // in both dialogs
#define IDC_DOWNLOAD_LINK 205
#define IDC_BROWSE_HINT 206

// The page the download link opens; the console launcher prints it.
#define DOWNLOAD_PAGE "https://adoptium.net/"

// Controls of "Java Exception".
#define IDC_EXCEPTION_TEXT 208
#define IDC_EXCEPTION_GROUP 209
#define IDC_EXCEPTION_HEADING 210
#define IDC_EXCEPTION_INSTRUCTION 211
#define IDC_EXCEPTION_WARNING 212

// Built-in settings text (RCDATA), the lowest layer of every layered settings read.
#define IDR_BUILTIN_SETTINGS 300

#define IDS_WINDOWS_EXCEPTION 202
#define IDS_JNI_EXCEPTION 203
#define IDS_COM_ERROR 204
#define IDS_JNI_EXCEPTION_SHORT 205
#define IDS_JRE_NOT_FOUND_SERVER 206
#define IDS_JRE_NOT_FOUND 207
#define IDS_NO_MODULE_PATH 208
#define IDS_NO_CLASS_PATH 209
#define IDS_NO_MAIN_CLASS 210
#define IDS_MAIN_CLASS_NOT_LOADED 211
#define IDS_NO_CREATE_JAVA_VM 212
#define IDS_JAVA_VM_NOT_CREATED 213
#define IDS_BROWSE_FOR_JRE 214
#define IDS_MAIN_CLASS_NOT_FOUND 215
#define IDS_NO_MAIN_METHOD 216
#define IDS_LATEST_VERSION 217
#define IDS_MAXIMUM_VERSION 218
#define IDS_MINIMUM_VERSION 219
#define IDS_VERSION_REQUIRED 220
#define IDS_VERSION_BETWEEN 221
#define IDS_JAVA_VM_NOT_LOADED 222
#define IDS_FAILED_TO_INITIALIZE 223
#define IDS_MODULE_NOT_INITIALIZED 224
#define IDS_REASON_UNKNOWN 225
#define IDS_REASON_DETACHED 226
#define IDS_REASON_VERSION 227
#define IDS_REASON_NO_MEMORY 228
#define IDS_REASON_EXISTS 229
#define IDS_REASON_INVALID 230

// Modular applications and options written as on the java command line.
#define IDS_MAIN_MODULE_NOT_STARTED 240
#define IDS_NO_MODULE_MAIN_CLASS 241
#define IDS_MODULES_NEED_JAVA_9 242
#define IDS_LAUNCHER_ONLY_OPTION 243
