// The JNIEnv function table: the functions the launcher uses over the modelled Java side; every other slot ends
// the process with a recognisable code after recording its name.
#include "JavaModel.h"
#include "JniSlotNames.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdarg>
#include <utility>

namespace standin {
namespace {

constexpr size_t envSlotCount = sizeof(JNINativeInterface_) / sizeof(void*);

#define STANDIN_SLOT_NAME(name) #name,
const char* const envSlotNames[] = {STANDIN_ENV_SLOTS(STANDIN_SLOT_NAME)};
#undef STANDIN_SLOT_NAME
static_assert(sizeof(envSlotNames) / sizeof(envSlotNames[0]) == envSlotCount, "a JNIEnv slot is missing its name");

// Whatever arguments the caller passes are ignored: on x64 the callee leaves the stack to the caller, and the
// process ends here anyway.
template <size_t Slot> void JNICALL unimplementedSlot() {
    record(std::string("unimplemented:") + envSlotNames[Slot]);
    ExitProcess(unimplementedExitCode);
}

template <size_t... Slots> std::array<void*, envSlotCount> unimplementedSlots(std::index_sequence<Slots...>) {
    return {reinterpret_cast<void*>(&unimplementedSlot<Slots>)...};
}

const Method& methodOf(jmethodID id, const char* function) {
    if (!id)
        fatal(std::string("null method in ") + function);
    return *reinterpret_cast<const Method*>(id);
}

JavaObject& classOf(jclass handle, const char* function) {
    if (!handle || object(handle)->kind != ObjectKind::Class)
        fatal(std::string("no class in ") + function);
    return *object(handle);
}

void skipType(const char*& type) {
    while (*type == '[')
        ++type;
    if (*type == 'L')
        while (*type && *type != ';')
            ++type;
    if (*type)
        ++type;
}

// The variadic forms read their arguments by the method's signature, with C's default promotions.
std::vector<jvalue> argumentsOf(const Method& method, va_list args) {
    std::vector<jvalue> values;
    for (const char* type = method.signature + 1; *type && *type != ')'; skipType(type)) {
        jvalue value = {};
        if (*type == 'J')
            value.j = va_arg(args, jlong);
        else if (*type == 'F')
            value.f = static_cast<jfloat>(va_arg(args, double));
        else if (*type == 'D')
            value.d = va_arg(args, double);
        else if (*type == 'L' || *type == '[')
            value.l = va_arg(args, jobject);
        else
            value.i = va_arg(args, int);
        values.push_back(value);
    }
    values.push_back(jvalue{});
    return values;
}

jint JNICALL GetVersion(JNIEnv*) { return JNI_VERSION_10; }

jclass JNICALL FindClass(JNIEnv* env, const char* name) {
    std::string className = name ? name : "";
    ClassKind kind = classKind(className);
    // The runtime's own classes go under a key of their own, so that findClass names the application's lookups.
    bool isRuntimeClass = kind != ClassKind::Application && kind != ClassKind::Missing;
    record(isRuntimeClass ? "findRuntimeClass" : "findClass", className);
    bool scriptedMissing = (kind == ClassKind::Application && vmState().script.classMissing) ||
                           (className == "java/lang/String" && vmState().script.stringMissing);
    if (kind == ClassKind::Missing || scriptedMissing) {
        throwNew(threadOf(env), "java/lang/NoClassDefFoundError", fromModifiedUtf8(className.c_str()));
        return nullptr;
    }
    return handleOf<jclass>(classObject(className));
}

jint JNICALL Throw(JNIEnv* env, jthrowable throwable) {
    if (!throwable)
        return JNI_ERR;
    throwObject(threadOf(env), object(throwable));
    return JNI_OK;
}

jint JNICALL ThrowNew(JNIEnv* env, jclass cls, const char* message) {
    throwNew(threadOf(env), classOf(cls, "ThrowNew").className, message ? fromModifiedUtf8(message) : u"");
    return JNI_OK;
}

jthrowable JNICALL ExceptionOccurred(JNIEnv* env) { return handleOf<jthrowable>(threadOf(env).pending); }
void JNICALL ExceptionDescribe(JNIEnv* env) { describePending(threadOf(env)); }
void JNICALL ExceptionClear(JNIEnv* env) { threadOf(env).pending = nullptr; }
jboolean JNICALL ExceptionCheck(JNIEnv* env) { return threadOf(env).pending ? JNI_TRUE : JNI_FALSE; }

void JNICALL FatalError(JNIEnv*, const char* message) { fatal(std::string("FatalError: ") + (message ? message : "")); }

// References are the objects themselves, and nothing is ever freed.
jint JNICALL PushLocalFrame(JNIEnv*, jint) { return JNI_OK; }
jobject JNICALL PopLocalFrame(JNIEnv*, jobject result) { return result; }
jobject JNICALL NewGlobalRef(JNIEnv*, jobject ref) { return ref; }
void JNICALL DeleteGlobalRef(JNIEnv*, jobject) {}
void JNICALL DeleteLocalRef(JNIEnv*, jobject) {}
jboolean JNICALL IsSameObject(JNIEnv*, jobject a, jobject b) { return a == b ? JNI_TRUE : JNI_FALSE; }
jobject JNICALL NewLocalRef(JNIEnv*, jobject ref) { return ref; }
jint JNICALL EnsureLocalCapacity(JNIEnv*, jint) { return JNI_OK; }

jobject JNICALL NewObjectA(JNIEnv* env, jclass cls, jmethodID id, const jvalue* args) {
    const JavaObject& classObject = classOf(cls, "NewObject");
    return handleOf<jobject>(construct(threadOf(env), methodOf(id, "NewObject"), args, classObject.className));
}

jobject JNICALL NewObjectV(JNIEnv* env, jclass cls, jmethodID id, va_list args) {
    std::vector<jvalue> values = argumentsOf(methodOf(id, "NewObjectV"), args);
    return NewObjectA(env, cls, id, values.data());
}

jobject JNICALL NewObject(JNIEnv* env, jclass cls, jmethodID id, ...) {
    va_list args;
    va_start(args, id);
    jobject result = NewObjectV(env, cls, id, args);
    va_end(args);
    return result;
}

jclass JNICALL GetObjectClass(JNIEnv*, jobject instance) {
    if (!instance)
        fatal("null object in GetObjectClass");
    const JavaObject* self = object(instance);
    return handleOf<jclass>(classObject(self->kind == ObjectKind::Class ? "java/lang/Class" : self->className));
}

jmethodID lookUpMethod(JNIEnv* env, jclass cls, const char* name, const char* signature, bool isStatic) {
    const JavaObject& owner = classOf(cls, isStatic ? "GetStaticMethodID" : "GetMethodID");
    std::string methodName = name ? name : "";
    record(isStatic ? "getStaticMethodID" : "getMethodID", methodName + " " + (signature ? signature : ""));
    const Method* method = findMethod(owner.className, methodName, signature ? signature : "", isStatic);
    bool silent = isStatic && methodName == "main" && vmState().script.noMainSilent;
    if (!method && !silent)
        throwNew(threadOf(env), "java/lang/NoSuchMethodError", fromModifiedUtf8(methodName.c_str()));
    return reinterpret_cast<jmethodID>(const_cast<Method*>(method));
}

jmethodID JNICALL GetMethodID(JNIEnv* env, jclass cls, const char* name, const char* signature) {
    return lookUpMethod(env, cls, name, signature, false);
}

jmethodID JNICALL GetStaticMethodID(JNIEnv* env, jclass cls, const char* name, const char* signature) {
    return lookUpMethod(env, cls, name, signature, true);
}

jfieldID JNICALL GetStaticFieldID(JNIEnv* env, jclass cls, const char* name, const char* signature) {
    const JavaObject& owner = classOf(cls, "GetStaticFieldID");
    std::string fieldName = name ? name : "";
    record("getStaticFieldID", fieldName + " " + (signature ? signature : ""));
    const StaticField* field = findStaticField(owner.className, fieldName, signature ? signature : "");
    if (!field)
        throwNew(threadOf(env), "java/lang/NoSuchFieldError", fromModifiedUtf8(fieldName.c_str()));
    return reinterpret_cast<jfieldID>(const_cast<StaticField*>(field));
}

jobject JNICALL GetStaticObjectField(JNIEnv*, jclass cls, jfieldID id) {
    classOf(cls, "GetStaticObjectField");
    if (!id)
        fatal("null field in GetStaticObjectField");
    bool isErr = reinterpret_cast<const StaticField*>(id)->field == FieldKind::SystemErr;
    return handleOf<jobject>(isErr ? vmState().err : vmState().out);
}

jvalue callA(JNIEnv* env, jobject self, jmethodID id, const jvalue* args, const char* function) {
    const Method& method = methodOf(id, function);
    if (!method.isStatic && !self) {
        throwNew(threadOf(env), "java/lang/NullPointerException", u"");
        return jvalue{};
    }
    return invoke(threadOf(env), object(self), method, args);
}

jvalue callV(JNIEnv* env, jobject self, jmethodID id, va_list args, const char* function) {
    std::vector<jvalue> values = argumentsOf(methodOf(id, function), args);
    return callA(env, self, id, values.data(), function);
}

#define STANDIN_CALL_FORMS(Name, Receiver, Result, field)                                                              \
    Result JNICALL Name##A(JNIEnv* env, Receiver self, jmethodID id, const jvalue* args) {                             \
        return static_cast<Result>(callA(env, self, id, args, #Name).field);                                           \
    }                                                                                                                  \
    Result JNICALL Name##V(JNIEnv* env, Receiver self, jmethodID id, va_list args) {                                   \
        return static_cast<Result>(callV(env, self, id, args, #Name).field);                                           \
    }                                                                                                                  \
    Result JNICALL Name(JNIEnv* env, Receiver self, jmethodID id, ...) {                                               \
        va_list args;                                                                                                  \
        va_start(args, id);                                                                                            \
        jvalue result = callV(env, self, id, args, #Name);                                                             \
        va_end(args);                                                                                                  \
        return static_cast<Result>(result.field);                                                                      \
    }

STANDIN_CALL_FORMS(CallObjectMethod, jobject, jobject, l)
STANDIN_CALL_FORMS(CallIntMethod, jobject, jint, i)
STANDIN_CALL_FORMS(CallVoidMethod, jobject, void, i)
STANDIN_CALL_FORMS(CallStaticObjectMethod, jclass, jobject, l)
STANDIN_CALL_FORMS(CallStaticIntMethod, jclass, jint, i)
STANDIN_CALL_FORMS(CallStaticVoidMethod, jclass, void, i)
#undef STANDIN_CALL_FORMS

JavaObject* stringOf(jstring string, const char* function) {
    if (!string || object(string)->kind != ObjectKind::String)
        fatal(std::string("no string in ") + function);
    return object(string);
}

jstring JNICALL NewString(JNIEnv*, const jchar* chars, jsize length) {
    return handleOf<jstring>(newString(std::u16string(reinterpret_cast<const char16_t*>(chars), length)));
}

jsize JNICALL GetStringLength(JNIEnv*, jstring string) {
    return static_cast<jsize>(stringOf(string, "GetStringLength")->chars.size());
}

const jchar* JNICALL GetStringChars(JNIEnv*, jstring string, jboolean* isCopy) {
    const std::u16string& chars = stringOf(string, "GetStringChars")->chars;
    jchar* copy = new jchar[chars.size() + 1];
    std::copy(chars.begin(), chars.end(), copy);
    copy[chars.size()] = 0;
    if (isCopy)
        *isCopy = JNI_TRUE;
    return copy;
}

void JNICALL ReleaseStringChars(JNIEnv*, jstring, const jchar* chars) { delete[] chars; }

jstring JNICALL NewStringUTF(JNIEnv*, const char* bytes) {
    return bytes ? handleOf<jstring>(newString(fromModifiedUtf8(bytes))) : nullptr;
}

jsize JNICALL GetStringUTFLength(JNIEnv*, jstring string) {
    return static_cast<jsize>(modifiedUtf8(stringOf(string, "GetStringUTFLength")->chars).size());
}

const char* JNICALL GetStringUTFChars(JNIEnv*, jstring string, jboolean* isCopy) {
    std::string bytes = modifiedUtf8(stringOf(string, "GetStringUTFChars")->chars);
    char* copy = new char[bytes.size() + 1];
    std::copy(bytes.begin(), bytes.end(), copy);
    copy[bytes.size()] = '\0';
    if (isCopy)
        *isCopy = JNI_TRUE;
    return copy;
}

void JNICALL ReleaseStringUTFChars(JNIEnv*, jstring, const char* chars) { delete[] chars; }

jsize JNICALL GetArrayLength(JNIEnv*, jarray array) {
    const JavaObject* self = object(array);
    if (!self)
        fatal("null array in GetArrayLength");
    return static_cast<jsize>(self->kind == ObjectKind::CharArray ? self->chars.size() : self->elements.size());
}

jobjectArray JNICALL NewObjectArray(JNIEnv* env, jsize length, jclass elementClass, jobject initial) {
    const JavaObject& element = classOf(elementClass, "NewObjectArray");
    if (length < 0) {
        throwNew(threadOf(env), "java/lang/NegativeArraySizeException", fromUtf8(std::to_string(length)));
        return nullptr;
    }
    JavaObject* array = newObject(ObjectKind::ObjectArray, "[L" + element.className + ";");
    array->elements.assign(length, object(initial));
    return handleOf<jobjectArray>(array);
}

bool inBounds(JNIEnv* env, size_t size, jsize start, jsize length) {
    if (start >= 0 && length >= 0 && static_cast<size_t>(start) + static_cast<size_t>(length) <= size)
        return true;
    throwNew(threadOf(env), "java/lang/ArrayIndexOutOfBoundsException", fromUtf8(std::to_string(start)));
    return false;
}

JavaObject* objectArrayOf(jobjectArray array, const char* function) {
    if (!array || object(array)->kind != ObjectKind::ObjectArray)
        fatal(std::string("no object array in ") + function);
    return object(array);
}

jobject JNICALL GetObjectArrayElement(JNIEnv* env, jobjectArray array, jsize index) {
    JavaObject* self = objectArrayOf(array, "GetObjectArrayElement");
    return inBounds(env, self->elements.size(), index, 1) ? handleOf<jobject>(self->elements[index]) : nullptr;
}

void JNICALL SetObjectArrayElement(JNIEnv* env, jobjectArray array, jsize index, jobject value) {
    JavaObject* self = objectArrayOf(array, "SetObjectArrayElement");
    if (inBounds(env, self->elements.size(), index, 1))
        self->elements[index] = object(value);
}

jcharArray JNICALL NewCharArray(JNIEnv* env, jsize length) {
    if (length < 0) {
        throwNew(threadOf(env), "java/lang/NegativeArraySizeException", fromUtf8(std::to_string(length)));
        return nullptr;
    }
    JavaObject* array = newObject(ObjectKind::CharArray, "[C");
    array->chars.assign(length, u'\0');
    return handleOf<jcharArray>(array);
}

JavaObject* charArrayOf(jcharArray array, const char* function) {
    if (!array || object(array)->kind != ObjectKind::CharArray)
        fatal(std::string("no char array in ") + function);
    return object(array);
}

void JNICALL GetCharArrayRegion(JNIEnv* env, jcharArray array, jsize start, jsize length, jchar* buffer) {
    JavaObject* self = charArrayOf(array, "GetCharArrayRegion");
    if (inBounds(env, self->chars.size(), start, length))
        std::copy_n(self->chars.begin() + start, length, buffer);
}

void JNICALL SetCharArrayRegion(JNIEnv* env, jcharArray array, jsize start, jsize length, const jchar* buffer) {
    JavaObject* self = charArrayOf(array, "SetCharArrayRegion");
    if (inBounds(env, self->chars.size(), start, length))
        std::copy_n(buffer, length, self->chars.begin() + start);
}

jint JNICALL GetJavaVM(JNIEnv*, JavaVM** vm) {
    *vm = javaVm();
    return JNI_OK;
}

void fillImplemented(JNINativeInterface_& table) {
    table.GetVersion = GetVersion;
    table.FindClass = FindClass;
    table.Throw = Throw;
    table.ThrowNew = ThrowNew;
    table.ExceptionOccurred = ExceptionOccurred;
    table.ExceptionDescribe = ExceptionDescribe;
    table.ExceptionClear = ExceptionClear;
    table.ExceptionCheck = ExceptionCheck;
    table.FatalError = FatalError;
    table.PushLocalFrame = PushLocalFrame;
    table.PopLocalFrame = PopLocalFrame;
    table.NewGlobalRef = NewGlobalRef;
    table.DeleteGlobalRef = DeleteGlobalRef;
    table.DeleteLocalRef = DeleteLocalRef;
    table.IsSameObject = IsSameObject;
    table.NewLocalRef = NewLocalRef;
    table.EnsureLocalCapacity = EnsureLocalCapacity;
    table.NewObject = NewObject;
    table.NewObjectV = NewObjectV;
    table.NewObjectA = NewObjectA;
    table.GetObjectClass = GetObjectClass;
    table.GetMethodID = GetMethodID;
    table.GetStaticMethodID = GetStaticMethodID;
    table.GetStaticFieldID = GetStaticFieldID;
    table.GetStaticObjectField = GetStaticObjectField;
    table.CallObjectMethod = CallObjectMethod;
    table.CallObjectMethodV = CallObjectMethodV;
    table.CallObjectMethodA = CallObjectMethodA;
    table.CallIntMethod = CallIntMethod;
    table.CallIntMethodV = CallIntMethodV;
    table.CallIntMethodA = CallIntMethodA;
    table.CallVoidMethod = CallVoidMethod;
    table.CallVoidMethodV = CallVoidMethodV;
    table.CallVoidMethodA = CallVoidMethodA;
    table.CallStaticObjectMethod = CallStaticObjectMethod;
    table.CallStaticObjectMethodV = CallStaticObjectMethodV;
    table.CallStaticObjectMethodA = CallStaticObjectMethodA;
    table.CallStaticIntMethod = CallStaticIntMethod;
    table.CallStaticIntMethodV = CallStaticIntMethodV;
    table.CallStaticIntMethodA = CallStaticIntMethodA;
    table.CallStaticVoidMethod = CallStaticVoidMethod;
    table.CallStaticVoidMethodV = CallStaticVoidMethodV;
    table.CallStaticVoidMethodA = CallStaticVoidMethodA;
    table.NewString = NewString;
    table.GetStringLength = GetStringLength;
    table.GetStringChars = GetStringChars;
    table.ReleaseStringChars = ReleaseStringChars;
    table.NewStringUTF = NewStringUTF;
    table.GetStringUTFLength = GetStringUTFLength;
    table.GetStringUTFChars = GetStringUTFChars;
    table.ReleaseStringUTFChars = ReleaseStringUTFChars;
    table.GetArrayLength = GetArrayLength;
    table.NewObjectArray = NewObjectArray;
    table.GetObjectArrayElement = GetObjectArrayElement;
    table.SetObjectArrayElement = SetObjectArrayElement;
    table.NewCharArray = NewCharArray;
    table.GetCharArrayRegion = GetCharArrayRegion;
    table.SetCharArrayRegion = SetCharArrayRegion;
    table.GetJavaVM = GetJavaVM;
}

JNINativeInterface_ makeTable() {
    JNINativeInterface_ table;
    std::array<void*, envSlotCount> stubs = unimplementedSlots(std::make_index_sequence<envSlotCount>());
    std::copy(stubs.begin(), stubs.end(), reinterpret_cast<void**>(&table));
    fillImplemented(table);
    return table;
}

} // namespace

const JNINativeInterface_* envFunctions() {
    static const JNINativeInterface_ table = makeTable();
    return &table;
}

} // namespace standin
