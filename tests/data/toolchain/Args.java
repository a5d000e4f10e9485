public class Args {
    public static void main(String[] args) {
        for (String a : args)
            System.out.println("[" + a + "]");
        System.out.println("cwd=" + System.getProperty("user.dir"));
        System.out.println("classpath=" + System.getProperty("java.class.path"));
    }
}
