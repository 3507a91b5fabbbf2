package koru.test;

// The main class of the JNI tests. It keeps its arguments; "print" writes the next two on System.out and
// System.err, "throw" throws, "exit" ends the process with the next one as its status, "linger" leaves a thread that
// prints "lingered" after main has returned, "thread-exit" one that ends the process with the next argument,
// "handler-exit" throws to an uncaught-exception handler that does so, "module" prints the module it runs in, and
// "reflect" does so after reaching into java.lang. Its secondaryMain has the void form, and that of App$Answer the int
// form, answering with its first argument read as a number.
public class App {
    public static String[] received;

    public static void main(String[] args) throws Exception {
        received = args;
        String action = args.length > 0 ? args[0] : "";
        if (action.equals("print")) {
            System.out.print(args[1]);
            System.err.print(args[2]);
        }
        if (action.equals("exit"))
            System.exit(Integer.parseInt(args[1]));
        if (action.equals("linger"))
            later(() -> System.out.println("lingered"));
        if (action.equals("thread-exit"))
            later(() -> System.exit(Integer.parseInt(args[1])));
        if (action.equals("handler-exit"))
            Thread.setDefaultUncaughtExceptionHandler((thread, e) -> System.exit(Integer.parseInt(args[1])));
        if (action.equals("throw") || action.equals("handler-exit"))
            throw new IllegalStateException(args[1]);
        if (action.equals("reflect")) // into java.lang: a named module may only with --add-opens
            String.class.getDeclaredField("value").setAccessible(true);
        if (action.equals("module") || action.equals("reflect"))
            System.out.println("in " + Class.class.getMethod("getModule").invoke(App.class));
    }

    // A non-daemon thread that does its work half a second later.
    static void later(Runnable work) {
        new Thread(() -> {
            try { Thread.sleep(500); } catch (InterruptedException e) {}
            work.run();
        }).start();
    }

    public static void secondaryMain(String[] args) { received = args; }

    public static class Answer {
        public static String[] received;

        public static int secondaryMain(String[] args) {
            received = args;
            return Integer.parseInt(args[0]);
        }
    }

    // Public, so that it can also be made the system class loader.
    public static class InitExits extends ClassLoader {
        static { System.exit(4); }
        public InitExits(ClassLoader parent) { super(parent); }
        public static void main(String[] args) {}
    }
}

// Classes whose main cannot be called, and whose static initialisers throw or leave a thread behind (App$InitExits
// ends the process).
class NoMain {}
class InstanceMain { public void main(String[] args) {} }
class IntMain { public static int main(String[] args) { return 0; } }
class InitThrows {
    static { if (App.received == null) throw new IllegalStateException("init"); }
    public static void main(String[] args) {}
}
class InitThread {
    static { App.later(() -> System.out.println("init thread ended")); }
    public static void main(String[] args) {}
}
